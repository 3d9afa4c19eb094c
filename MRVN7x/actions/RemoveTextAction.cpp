#include "MRVN7x/actions/RemoveTextAction.h"

namespace morvane {

plist::Dictionary RemoveTextAction::defaultParameters() const {
    auto params = ReplaceTextAction::defaultParameters();
    params["replacement term"] = plist::Value("");
    return params;
}

void RemoveTextAction::prepareParameters() {
    ReplaceTextAction::prepareParameters();
    paramReplacementTerm.clear();
}

} // namespace morvane
