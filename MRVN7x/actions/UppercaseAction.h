#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Make uppercase": the full Unicode upper-case mapping of the fragment.
class UppercaseAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Make uppercase";
    std::string actionName() const override { return kActionName; }
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
