#include "MRVN7x/metadata/AddDateToEndAction.h"

namespace morvane {

plist::Dictionary AddDateToEndAction::defaultParameters() const {
    auto params = RenameToDateAction::defaultParameters();
    params["leading space"] = plist::Value(1);
    return params;
}

void AddDateToEndAction::prepareParameters() {
    RenameToDateAction::prepareParameters();
    paramLeadingSpace = getParamInt("leading space", 1);
}

std::u16string AddDateToEndAction::processName(const std::u16string& fragment,
                                               const std::string& path, InputContext& input) {
    const auto date = dateTextFor(path, input);
    if (!date)
        return fragment;
    return fragment + (paramLeadingSpace ? u" " : u"") + *date;
}

} // namespace morvane
