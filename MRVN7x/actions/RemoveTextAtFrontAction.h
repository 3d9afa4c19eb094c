#pragma once
#include "MRVN7x/actions/ReplaceAtFrontAction.h"

namespace morvane {

// "Remove text at front": "Replace at front" with nothing as the replacement.
class RemoveTextAtFrontAction : public ReplaceAtFrontAction {
public:
    static constexpr const char* kActionName = "Remove text at front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // The replacement stays empty even when a stored "with" says otherwise.
    void prepareParameters() override;
};

} // namespace morvane
