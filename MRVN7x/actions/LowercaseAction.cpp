#include "MRVN7x/actions/LowercaseAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

std::u16string LowercaseAction::processName(const std::u16string& fragment, const std::string&,
                                            InputContext&) {
    return UnicodeText::lowercase(fragment);
}

} // namespace morvane
