#pragma once
#include "MRVN7x/actions/RemoveAtFrontAction.h"

namespace morvane {

// "Remove from end": removes "number of characters" units from the end of the
// fragment, with the same guards as "Remove at front".
class RemoveFromEndAction : public RemoveAtFrontAction {
public:
    static constexpr const char* kActionName = "Remove from end";
    std::string actionName() const override { return kActionName; }
    using RemoveAtFrontAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
