#include "MRVN7x/app/PreferencesController.h"

#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/app/UserInterfacePort.h"

namespace morvane {

PreferencesController::PreferencesController(UserInterfacePort& port,
                                             std::unique_ptr<MRVNInstallationManager> manager)
    : port_(port), manager_(std::move(manager)) {
    if (!manager_)
        manager_ = std::make_unique<MRVNInstallationManager>();
    contextMenuWasAlreadyInstalled_ = manager_->isContextMenuInstalled();
    updateControls();
}

void PreferencesController::setGlobalPreferencesAction(
    MRVNGlobalPreferencesPseudoAction& globalPrefs) {
    globalPrefs_ = &globalPrefs;
    controls_.useFadeOutEffect = globalPrefs.shouldUseFadeOutEffect();
    updateControls();
}

void PreferencesController::run() {
    port_.runPreferencesWindow(*this);
    view_ = nullptr;
}

void PreferencesController::windowDidLoad(PreferencesView& view) {
    view_ = &view;
    updateControls();
}

// The box keeps what the user ticked until OK; only the buttons follow the disk.
void PreferencesController::updateControls() {
    const bool pane = manager_->isPrefPaneInstalled();
    controls_.prefPaneInstall = !pane;
    controls_.prefPaneOpen = pane;
    controls_.prefPaneUninstall = pane;
    const bool contextMenu = manager_->isContextMenuInstalled();
    controls_.contextMenuInstall = !contextMenu;
    controls_.contextMenuUninstall = contextMenu;
    if (view_)
        view_->showControls(controls_);
}

void PreferencesController::reportFailure(bool succeeded, const std::string& title,
                                          const std::string& text) {
    updateControls();
    if (!succeeded)
        port_.runAlert({AlertStyle::Warning, title, text, {"OK"}});
}

void PreferencesController::installContextMenu() {
    const InstallationComponent& component = manager_->contextMenuComponent();
    reportFailure(manager_->installContextMenu(),
                  "The contextual menu component could not be installed.",
                  "Morvane could not copy " + component.sourcePath() + " into " +
                      component.installationLocation() + ".");
}

void PreferencesController::uninstallContextMenu() {
    reportFailure(
        manager_->uninstallContextMenu(), "The contextual menu component could not be removed.",
        "Morvane could not remove " + manager_->contextMenuComponent().installedPath() + ".");
}

void PreferencesController::installSystemPreferences() {
    const InstallationComponent& component = manager_->prefPaneComponent();
    reportFailure(manager_->installPrefPane(), "The preference pane could not be installed.",
                  "Morvane could not copy " + component.sourcePath() + " into " +
                      component.installationLocation() + ".");
}

void PreferencesController::uninstallSystemPreferences() {
    reportFailure(manager_->uninstallPrefPane(), "The preference pane could not be removed.",
                  "Morvane could not remove " + manager_->prefPaneComponent().installedPath() +
                      ".");
}

void PreferencesController::launchSystemPreferences() {
    if (manager_->openPrefPane())
        return;
    port_.runAlert({AlertStyle::Warning,
                    "The preference pane could not be opened.",
                    "Morvane could not open " + manager_->prefPaneComponent().installedPath() +
                        ". Preference panes are shown by the program tessary-preferences; check "
                        "that it is installed beside morvane.",
                    {"OK"}});
}

void PreferencesController::setUseFadeOutEffectBox(bool checked) {
    controls_.useFadeOutEffect = checked;
}

void PreferencesController::ok() {
    // A context menu that was installed and removed again within this opening
    // changes nothing the file manager would see.
    if (manager_->isContextMenuInstalled() != contextMenuWasAlreadyInstalled_)
        manager_->doInteractiveRestartFinder(port_);
    if (globalPrefs_)
        globalPrefs_->setUseFadeOutEffect(controls_.useFadeOutEffect);
    if (view_)
        view_->endModal();
}

} // namespace morvane
