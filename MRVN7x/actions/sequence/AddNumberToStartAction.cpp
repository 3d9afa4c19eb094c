#include "MRVN7x/actions/sequence/AddNumberToStartAction.h"

namespace morvane {

std::u16string AddNumberToStartAction::processName(const std::u16string& fragment,
                                                   const std::string&, InputContext& input) {
    const auto number = getFormattedNumberString(input);
    return number ? *number + fragment : fragment;
}

} // namespace morvane
