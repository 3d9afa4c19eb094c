#include "MRVN7x/actions/AddFolderNameToEnd.h"

#include "MRVN7x/actions/AddFolderNameAtFront.h"

namespace morvane {

plist::Dictionary AddFolderNameToEnd::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["leading space"] = plist::Value(1);
    return params;
}

void AddFolderNameToEnd::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramLeadingSpace = getParamInt("leading space", 1);
}

std::u16string AddFolderNameToEnd::processName(const std::u16string& fragment,
                                               const std::string& path, InputContext&) {
    const std::u16string folder = AddFolderNameAtFront::folderDisplayName(path);
    return paramLeadingSpace != 0 ? fragment + u' ' + folder : fragment + folder;
}

} // namespace morvane
