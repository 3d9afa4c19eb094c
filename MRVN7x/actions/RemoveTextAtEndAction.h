#pragma once
#include "MRVN7x/actions/ReplaceAtEndAction.h"

namespace morvane {

// "Remove text at end": "Replace at end" with nothing as the replacement.
class RemoveTextAtEndAction : public ReplaceAtEndAction {
public:
    static constexpr const char* kActionName = "Remove text at end";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // The replacement stays empty even when a stored "with" says otherwise.
    void prepareParameters() override;
};

} // namespace morvane
