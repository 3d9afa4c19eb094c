#include "MRVN7x/metadata/PListIndexValueTranslater.h"

#include "MRVN7x/metadata/QLBundleHelper.h"
#include "platform/SystemLog.h"

#include <algorithm>

namespace morvane {

std::int32_t PListIndexValueTranslater::translateIndex(std::int32_t index,
                                                       const std::string& fromPList,
                                                       const std::string& toPList) {
    const auto from = QLBundleHelper::findStringArray(fromPList);
    const auto to = QLBundleHelper::findStringArray(toPList);
    if (!from || !to) {
        SystemLog::error(QLBundleHelper::missingMessage(from ? toPList : fromPList));
        return index;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= from->size())
        return index;
    const auto match = std::find(to->begin(), to->end(), (*from)[static_cast<std::size_t>(index)]);
    if (match == to->end())
        return index;
    return static_cast<std::int32_t>(match - to->begin());
}

} // namespace morvane
