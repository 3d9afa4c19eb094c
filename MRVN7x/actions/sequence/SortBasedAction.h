#pragma once
// The base of every action whose result follows the item's place in a sort
// order of the file list: the sequence actions and rename from a list. The
// place is asked of the file list in the action's own sort order, not in the
// order the preview happens to show, so two sequence steps of one chain may
// number in different orders.
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

class SortBasedAction : public BaseRenameAction {
public:
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    // The item's 1-based place in the action's sort order (within its folder
    // when "sortEachFolderSeparately" is 1), as of the last prepareParameters.
    // 0 when the context carries no file list or the list does not hold the
    // item: the action then leaves the name as it is.
    std::int32_t getSortIndex(const InputContext& input) const;
    // Has the list compute the order now, not on a naming thread.
    void prepareForConcurrentNaming(InputContext& input) override;

    // The raw sort settings (0 when absent), which the application copies into
    // the file list so that the preview lists the items in numbering order.
    std::int32_t getSortingMode() const { return getParamInt("sortingMode", 0); }
    std::int32_t getSortingMode2() const { return getParamInt("sortingMode2", 0); }
    bool shouldUseGlobalSorting() const { return getParamInt("sortEachFolderSeparately", 0) != 1; }

protected:
    std::int32_t paramSortEachFolderSeparately = 0;
    std::int32_t paramSortingOrder = 0;
    std::int32_t paramSortingOrder2 = 0;
};

} // namespace morvane
