#include "MRVN7x/actions/RemoveTextAtEndAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<RemoveTextAtEndAction> registration;

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
