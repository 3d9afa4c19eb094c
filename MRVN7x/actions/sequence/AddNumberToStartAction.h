#pragma once
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"

namespace morvane {

// "Add number to start": the item's number, then the name.
class AddNumberToStartAction : public SortNumberBasedAction {
public:
    static constexpr const char* kActionName = "Add number to start";
    std::string actionName() const override { return kActionName; }
    using SortNumberBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
