#pragma once
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"

namespace morvane {

// "Add number to end": the name, then the item's number.
class AddNumberToEndAction : public SortNumberBasedAction {
public:
    static constexpr const char* kActionName = "Add number to end";
    std::string actionName() const override { return kActionName; }
    using SortNumberBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
