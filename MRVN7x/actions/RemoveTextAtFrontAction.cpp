#include "MRVN7x/actions/RemoveTextAtFrontAction.h"

namespace morvane {

plist::Dictionary RemoveTextAtFrontAction::defaultParameters() const {
    auto params = ReplaceAtFrontAction::defaultParameters();
    params["with"] = plist::Value("");
    return params;
}

void RemoveTextAtFrontAction::prepareParameters() {
    ReplaceAtFrontAction::prepareParameters();
    paramWith.clear();
}

} // namespace morvane
