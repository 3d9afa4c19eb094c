// The preferences window: one controller per opening.
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/app/PreferencesController.h"

namespace morvane {

void MainController::showPreferencesDialog() {
    PreferencesController controller(port_);
    controller.setGlobalPreferencesAction(*globalSettings_);
    controller.run();
}

} // namespace morvane
