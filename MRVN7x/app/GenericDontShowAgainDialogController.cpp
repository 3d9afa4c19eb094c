#include "MRVN7x/app/GenericDontShowAgainDialogController.h"

namespace morvane {

bool GenericDontShowAgainDialogController::isSilenced(const DontShowAgainNotice& notice) const {
    return defaults_.objectForKey(notice.defaultsKey).has_value();
}

DialogChoice GenericDontShowAgainDialogController::run(const DontShowAgainNotice& notice) {
    if (isSilenced(notice))
        return notice.resultWhenSilenced;
    bool dontShowAgain = false;
    const DialogChoice choice = port_.runDontShowAgainDialog(notice.windowResource, dontShowAgain);
    if (dontShowAgain) {
        defaults_.setObject(notice.defaultsKey, plist::Value(true));
        defaults_.synchronize();
    }
    return choice;
}

} // namespace morvane
