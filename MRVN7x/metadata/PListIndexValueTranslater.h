#pragma once
// Translates a pattern index from one numbering of a table to another: the
// index of the same text in the other property-list array.
#include <cstdint>
#include <string>

namespace morvane {

class PListIndexValueTranslater {
public:
    PListIndexValueTranslater() = delete;

    // The index of the first entry of the array resource toPList that equals
    // entry `index` of the array resource fromPList (both found with
    // QLBundleHelper::findPListInBundles). When there is nothing to translate
    // (either list missing, index outside fromPList, or no equal entry), the
    // index is kept as it is: the setting then still names a format, and the
    // user sees which one in the menu.
    static std::int32_t translateIndex(std::int32_t index, const std::string& fromPList,
                                       const std::string& toPList);
};

} // namespace morvane
