#include "MRVN7x/actions/sequence/AddNumberToEndAction.h"

namespace morvane {

std::u16string AddNumberToEndAction::processName(const std::u16string& fragment, const std::string&,
                                                 InputContext& input) {
    const auto number = getFormattedNumberString(input);
    return number ? fragment + *number : fragment;
}

} // namespace morvane
