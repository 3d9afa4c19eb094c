#include "MRVN7x/actions/sequence/AddAlphabeticalSequenceToStartAction.h"

namespace morvane {

std::u16string AddAlphabeticalSequenceToStartAction::processName(const std::u16string& fragment,
                                                                 const std::string&,
                                                                 InputContext& input) {
    const auto letters = getFormattedAlphabeticalString(input);
    return letters ? *letters + fragment : fragment;
}

} // namespace morvane
