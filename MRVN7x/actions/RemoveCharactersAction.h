#pragma once
#include "MRVN7x/actions/ReplaceCharactersAction.h"

namespace morvane {

// "Remove characters": "Replace characters" with every replacement empty, so
// the characters of the four sets are deleted.
class RemoveCharactersAction : public ReplaceCharactersAction {
public:
    static constexpr const char* kActionName = "Remove characters";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // The replacements stay empty even when stored "with K" values say otherwise.
    void prepareParameters() override;
};

} // namespace morvane
