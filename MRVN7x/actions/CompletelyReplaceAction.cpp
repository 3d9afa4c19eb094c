#include "MRVN7x/actions/CompletelyReplaceAction.h"

namespace morvane {

plist::Dictionary CompletelyReplaceAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["newName"] = plist::Value("");
    return params;
}

void CompletelyReplaceAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramNewName = getParamText("newName");
}

std::u16string CompletelyReplaceAction::processName(const std::u16string&, const std::string&,
                                                    InputContext&) {
    return paramNewName;
}

} // namespace morvane
