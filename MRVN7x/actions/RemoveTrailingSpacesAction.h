#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Remove trailing spaces": removes every space (U+0020 only) at the end of the
// fragment; tabs and other white space stay.
class RemoveTrailingSpacesAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Remove trailing spaces";
    std::string actionName() const override { return kActionName; }
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
