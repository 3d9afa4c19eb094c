#include "MRVN7x/actions/sequence/SortBasedAction.h"

#include "MRVN7x/actions/SortingIndex.h"

namespace morvane {

plist::Dictionary SortBasedAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["sortEachFolderSeparately"] = plist::Value(0);
    params["sortingMode"] = plist::Value(11);
    params["sortingMode2"] = plist::Value(0);
    return params;
}

void SortBasedAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramSortEachFolderSeparately = getParamInt("sortEachFolderSeparately", 0);
    paramSortingOrder = getParamInt("sortingMode", 0);
    paramSortingOrder2 = getParamInt("sortingMode2", 0);
}

std::int32_t SortBasedAction::getSortIndex(const InputContext& input) const {
    if (!input.dynamicFileList)
        return 0;
    const auto place = input.dynamicFileList->getSortingIndexForPath(
        input.inputPath, paramSortingOrder, paramSortingOrder2, paramSortEachFolderSeparately != 0,
        input.listIndex);
    return place > 0 ? static_cast<std::int32_t>(place) : 0;
}

void SortBasedAction::prepareForConcurrentNaming(InputContext& input) {
    prepareParametersIfChanged();
    (void)getSortIndex(input);
}

} // namespace morvane
