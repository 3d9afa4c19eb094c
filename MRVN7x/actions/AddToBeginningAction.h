#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Add to front": puts the text "string" in front of the fragment.
class AddToBeginningAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Add to front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::u16string paramString;
};

} // namespace morvane
