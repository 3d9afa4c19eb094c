#include "MRVN7x/actions/RemoveTextAtEndAction.h"

namespace morvane {

plist::Dictionary RemoveTextAtEndAction::defaultParameters() const {
    auto params = ReplaceAtEndAction::defaultParameters();
    params["with"] = plist::Value("");
    return params;
}

void RemoveTextAtEndAction::prepareParameters() {
    ReplaceAtEndAction::prepareParameters();
    paramWith.clear();
}

} // namespace morvane
