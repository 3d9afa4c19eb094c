#include "MRVN7x/actions/sequence/AddAlphabeticalSequenceToStartAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<AddAlphabeticalSequenceToStartAction> registration;

std::u16string AddAlphabeticalSequenceToStartAction::processName(const std::u16string& fragment,
                                                                 const std::string&,
                                                                 InputContext& input) {
    const auto letters = getFormattedAlphabeticalString(input);
    return letters ? *letters + fragment : fragment;
}

} // namespace morvane
