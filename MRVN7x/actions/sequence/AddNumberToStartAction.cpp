#include "MRVN7x/actions/sequence/AddNumberToStartAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<AddNumberToStartAction> registration;

std::u16string AddNumberToStartAction::processName(const std::u16string& fragment,
                                                   const std::string&, InputContext& input) {
    const auto number = getFormattedNumberString(input);
    return number ? *number + fragment : fragment;
}

} // namespace morvane
