#include "MRVN7x/actions/RemoveTextAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<RemoveTextAction> registration;

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
