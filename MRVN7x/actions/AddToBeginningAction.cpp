#include "MRVN7x/actions/AddToBeginningAction.h"

namespace morvane {

plist::Dictionary AddToBeginningAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["string"] = plist::Value("");
    return params;
}

void AddToBeginningAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramString = getParamText("string");
}

std::u16string AddToBeginningAction::processName(const std::u16string& fragment, const std::string&,
                                                 InputContext&) {
    return paramString + fragment;
}

} // namespace morvane
