#include "MRVN7x/actions/AddToEndAction.h"

namespace morvane {

plist::Dictionary AddToEndAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["string"] = plist::Value("");
    return params;
}

void AddToEndAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramString = getParamText("string");
}

std::u16string AddToEndAction::processName(const std::u16string& fragment, const std::string&,
                                           InputContext&) {
    return fragment + paramString;
}

} // namespace morvane
