#pragma once
#include "MRVN7x/actions/ReplaceAtFrontAction.h"

namespace morvane {

// "Replace at end": when the fragment ends with "replace", that text is
// replaced by "with" (one occurrence only, the one at the very end).
class ReplaceAtEndAction : public ReplaceAtFrontAction {
public:
    static constexpr const char* kActionName = "Replace at end";
    std::string actionName() const override { return kActionName; }
    using ReplaceAtFrontAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
