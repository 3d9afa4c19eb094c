#include "MRVN7x/actions/ConvertToMacOS9Action.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<ConvertToMacOS9Action> registration;

void ConvertToMacOS9Action::prepareParameters() {
    TruncateAction::prepareParameters();
    paramNumberOfCharacters = kMaximumLength;
    paramSmart = 1;
}

} // namespace morvane
