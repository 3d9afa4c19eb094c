#include "MRVN7x/actions/TruncateToDOSAction.h"

#include "MRVN7x/actions/TruncateAction.h"

namespace morvane {

std::u16string TruncateToDOSAction::processName(const std::u16string& fragment, const std::string&,
                                                InputContext&) {
    const auto dot = fragment.rfind(u'.');
    if (dot == std::u16string::npos)
        return TruncateAction::firstUnits(fragment, kBaseLength);
    return TruncateAction::firstUnits(fragment.substr(0, dot), kBaseLength) + u'.' +
           TruncateAction::firstUnits(fragment.substr(dot + 1), kExtensionLength);
}

} // namespace morvane
