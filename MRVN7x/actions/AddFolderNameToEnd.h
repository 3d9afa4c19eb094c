#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Add folder name to end": appends the display name of the folder that holds
// the item, after one space when "leading space" is non-zero.
class AddFolderNameToEnd : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Add folder name to end";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t paramLeadingSpace = 1;
};

} // namespace morvane
