#include "MRVN7x/actions/LowercaseAction.h"

#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

static const ActionRegistration<LowercaseAction> registration;

std::u16string LowercaseAction::processName(const std::u16string& fragment, const std::string&,
                                            InputContext&) {
    return UnicodeText::lowercase(fragment);
}

} // namespace morvane
