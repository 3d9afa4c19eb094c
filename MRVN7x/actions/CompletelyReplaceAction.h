#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Completely rename": replaces the fragment by "newName".
class CompletelyReplaceAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Completely rename";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::u16string paramNewName;
};

} // namespace morvane
