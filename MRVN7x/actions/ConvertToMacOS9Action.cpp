#include "MRVN7x/actions/ConvertToMacOS9Action.h"

namespace morvane {

void ConvertToMacOS9Action::prepareParameters() {
    TruncateAction::prepareParameters();
    paramNumberOfCharacters = kMaximumLength;
    paramSmart = 1;
}

} // namespace morvane
