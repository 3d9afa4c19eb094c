#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"

#include "platform/Bundle.h"
#include "platform/Workspace.h"

namespace morvane {
namespace {
void place(InstallationComponent& component, const char* location, const char* withinResources) {
    component.setInstallationLocation(location);
    component.setLocationWithinResourceBundle(withinResources);
}
} // namespace

MRVNInstallationManager::MRVNInstallationManager() {
    place(contextMenu_, "~/Library/Contextual Menu Items",
          "Components/Tessary Context Menu.plugin");
    // The context menu's entries start the application's program.
    contextMenu_.setScripts("Contents/Resources/install.sh", "Contents/Resources/uninstall.sh",
                            {Bundle::applicationProgram()});
    place(prefPane_, "~/Library/PreferencePanes/", "Components/Tessary Preferences.prefPane");
    place(hotKey_, "~/Library/Application Support/Ossvale/",
          "Components/Tessary Preferences.prefPane/Contents/Resources/TSY HotKey.app");
}

bool MRVNInstallationManager::quitHotKey() {
    return Workspace::runAndWait("/bin/sh",
                                 {Bundle::applicationResourceFolder() + "/quitHotKey.sh"}) == 0;
}

bool MRVNInstallationManager::updateHotKey() {
    // A hot-key program that is not running makes the quit script fail; the
    // upgrade goes ahead all the same.
    quitHotKey();
    if (!hotKey_.performUpgrade())
        return false;
    hotKey_.launch();
    return true;
}

} // namespace morvane
