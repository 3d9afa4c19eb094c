#pragma once
#include "MRVN7x/actions/ReplaceTextAction.h"

namespace morvane {

// "Remove text": "Replace text" with nothing as the replacement, so the chosen
// occurrences are deleted.
class RemoveTextAction : public ReplaceTextAction {
public:
    static constexpr const char* kActionName = "Remove text";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // The replacement stays empty even when a stored "replacement term" says otherwise.
    void prepareParameters() override;
};

} // namespace morvane
