#include "MRVN7x/metadata/AddDateToFrontAction.h"

namespace morvane {

plist::Dictionary AddDateToFrontAction::defaultParameters() const {
    auto params = RenameToDateAction::defaultParameters();
    params["trailing space"] = plist::Value(1);
    return params;
}

void AddDateToFrontAction::prepareParameters() {
    RenameToDateAction::prepareParameters();
    paramTrailingSpace = getParamInt("trailing space", 1);
}

std::u16string AddDateToFrontAction::processName(const std::u16string& fragment,
                                                 const std::string& path, InputContext& input) {
    // "No date" is told apart from the text itself, so a fragment that already
    // reads like its date still gets the date.
    const auto date = dateTextFor(path, input);
    if (!date)
        return fragment;
    return *date + (paramTrailingSpace ? u" " : u"") + fragment;
}

} // namespace morvane
