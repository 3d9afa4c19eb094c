#include "MRVN7x/actions/RemoveTextAtFrontAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<RemoveTextAtFrontAction> registration;

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
