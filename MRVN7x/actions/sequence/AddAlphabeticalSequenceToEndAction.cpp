#include "MRVN7x/actions/sequence/AddAlphabeticalSequenceToEndAction.h"

namespace morvane {

std::u16string AddAlphabeticalSequenceToEndAction::processName(const std::u16string& fragment,
                                                               const std::string&,
                                                               InputContext& input) {
    const auto letters = getFormattedAlphabeticalString(input);
    return letters ? fragment + *letters : fragment;
}

} // namespace morvane
