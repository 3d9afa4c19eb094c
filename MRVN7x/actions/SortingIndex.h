#pragma once
// Where an item stands in a sorted order of the items being renamed: what the
// sequence steps number by. The dynamic file list answers.
#include <cstdint>
#include <string>

namespace morvane {

class SortingIndex {
public:
    virtual ~SortingIndex() = default;
    // The 1-based position of path in the order of modes (mode, mode2),
    // within its folder when eachFolderSeparately is set; 0 for a path that
    // is not an item. indexHint: the item's internal index, if known.
    virtual int getSortingIndexForPath(const std::string& path, std::int32_t mode,
                                       std::int32_t mode2, bool eachFolderSeparately,
                                       int indexHint = -1) = 0;
};

} // namespace morvane
