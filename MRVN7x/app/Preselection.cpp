// What the confirmation and conflict dialogs select in the new name when they
// open: the manual step's selection string, found as its search mask says.
#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/app/UserInterfacePort.h"

namespace morvane {

NameSelection preselection(const RenameDialogRequest& request) {
    const std::u16string& name = request.context.newName;
    if (auto found = UnicodeText::find(name, request.selectionString, request.selectionMask))
        return {found->location, found->length};
    return {0, name.size()};
}

} // namespace morvane
