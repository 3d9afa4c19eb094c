#include "MRVN7x/InstallationComponent/InstallationManager.h"

#include "MRVN7x/InstallationComponent/AlertPort.h"
#include "platform/ScriptRunner.h"
#include "platform/Workspace.h"
#include "platform/XdgPaths.h"

namespace morvane {

bool InstallationManager::restartFinder() {
    return ScriptRunner::run(ScriptRunner::finderRestartScript());
}

bool InstallationManager::doInteractiveRestartFinder(AlertPort& port) {
    const Alert alert{AlertStyle::Informational, kRestartTitle, kRestartText, {"Yes", "No"}};
    if (port.runAlert(alert) != AlertAnswer::First)
        return false;
    if (restartFinder())
        return true;
    port.runAlert({AlertStyle::Warning, kRestartFailedTitle, kRestartFailedText, {"OK"}});
    return false;
}

bool InstallationManager::openPrefPane() {
    // There is no host window to bring forward on this system yet; opening
    // the pane starts the host, so only the opening decides.
    ScriptRunner::run(ScriptRunner::preferencesActivationScript());
    return Workspace::openFile(XdgPaths::libraryPath(kPrefPaneFile));
}

} // namespace morvane
