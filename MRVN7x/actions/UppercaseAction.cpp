#include "MRVN7x/actions/UppercaseAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

std::u16string UppercaseAction::processName(const std::u16string& fragment, const std::string&,
                                            InputContext&) {
    return UnicodeText::uppercase(fragment);
}

} // namespace morvane
