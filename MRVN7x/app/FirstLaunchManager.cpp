#include "MRVN7x/app/FirstLaunchManager.h"

#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/UserInterfacePort.h"
#include "platform/UserDefaults.h"
#include "platform/XdgPaths.h"

#include <filesystem>

namespace morvane {
namespace {
void tell(UserInterfacePort& port, const char* title, const char* text, const char* button) {
    port.runAlert({AlertStyle::Warning, title, text, {button}});
}
} // namespace

FirstLaunchManager::FirstLaunchManager(UserDefaults& defaults, UserInterfacePort& port,
                                       std::string bundlePath,
                                       std::unique_ptr<MRVNInstallationManager> manager)
    : defaults_(defaults), port_(port), bundlePath_(std::move(bundlePath)),
      manager_(std::move(manager)) {}

std::vector<std::string> FirstLaunchManager::oldInstallationPaths() {
    return {XdgPaths::libraryPath("~/Library/Application Support/Morvane.app"),
            XdgPaths::libraryPath("~/Library/Contextual Menu Items/MorvaneAppCM.plugin"),
            XdgPaths::libraryPath("~/Library/Application Support/MRVN Blank Droplet.app")};
}

void FirstLaunchManager::doIt() {
    const auto stored = defaults_.objectForKey(DefaultsKeys::firstLaunchVersion);
    const std::int64_t version = stored ? stored->numberValue().value_or(0) : 0;
    isFirstLaunch_ = version != kFirstLaunchVersion;
    defaults_.setObject(DefaultsKeys::location, plist::Value(bundlePath_));
    defaults_.synchronize();
    removeOldInstallation();
    // A restart an upgrade made due is offered only at a first launch.
    const bool restartAfterUpgrade = upgradeComponents();
    if (!isFirstLaunch_)
        return;
    resetPreferences();
    const ChoicesApplied applied = applyChoices(port_.runComponentSetupWindow());
    if (applied.failed)
        tell(port_, "Installation could not be updated correctly.",
             "An error occured while attempting to change your installation.", "OK");
    if (applied.contextMenuTouched || restartAfterUpgrade)
        manager_->doInteractiveRestartFinder(port_);
}

void FirstLaunchManager::removeOldInstallation() {
    std::vector<std::string> present;
    for (const std::string& path : oldInstallationPaths()) {
        std::error_code error;
        if (std::filesystem::symlink_status(path, error).type() !=
            std::filesystem::file_type::not_found)
            present.push_back(path);
    }
    if (present.empty())
        return;
    tell(port_, "Incompatible old version of Morvane found.",
         "An older version of Morvane was found. It needs to be removed to ensure the proper "
         "operation of the current version.",
         "Remove Old Components");
    bool failed = false;
    for (const std::string& path : present) {
        std::error_code error;
        std::filesystem::remove_all(path, error); // a link is removed, never followed
        failed = failed || error;
    }
    if (failed)
        tell(port_, "Could not remove the old installation.",
             "An error ocurred when trying to remove the file. The application may not run "
             "correctly.",
             "OK");
}

// Failures of upgrades are not reported: the old component keeps working.
bool FirstLaunchManager::upgradeComponents() {
    bool restartDue = false;
    if (manager_->shouldUpdateHotKey()) {
        tell(port_, "Hot Key Component needs updating.",
             "An old version of the hot key component has been detected and will be updated.",
             "OK");
        manager_->updateHotKey();
        restartDue = true;
    }
    if (manager_->shouldUpdateContextMenu()) {
        tell(port_, "Context Menu Component needs updating.",
             "An old version of the contextual menu plugin component has been detected and will "
             "be updated.",
             "OK");
        manager_->updateContextMenu();
        restartDue = true;
    }
    if (manager_->shouldUpdatePrefPane()) {
        tell(port_, "System Preferences Pane Component needs updating.",
             "An old version of the System Preferences pane component has been detected and "
             "will be updated.",
             "OK");
        manager_->updatePrefPane();
    }
    return restartDue;
}

// Every setting of the application goes, "location" included; the marker of
// this version is written again at once.
void FirstLaunchManager::resetPreferences() {
    for (const auto& [key, value] : defaults_.storedValues())
        defaults_.removeObject(key);
    defaults_.synchronize();
    defaults_.setObject(DefaultsKeys::firstLaunchVersion, plist::Value(kFirstLaunchVersion));
    defaults_.synchronize();
}

FirstLaunchManager::ChoicesApplied
FirstLaunchManager::applyChoices(const ComponentChoices& choices) {
    ChoicesApplied applied;
    const bool menuInstalled = manager_->isContextMenuInstalled();
    if (choices.installContextMenu && !menuInstalled) {
        applied.contextMenuTouched = true;
        applied.failed = !manager_->installContextMenu() || applied.failed;
    } else if (!choices.installContextMenu && menuInstalled) {
        applied.contextMenuTouched = true;
        applied.failed = !manager_->uninstallContextMenu() || applied.failed;
    }
    const bool paneInstalled = manager_->isPrefPaneInstalled();
    if (choices.installPreferencePane && !paneInstalled)
        applied.failed = !manager_->installPrefPane() || applied.failed;
    else if (!choices.installPreferencePane && paneInstalled)
        applied.failed = !manager_->uninstallPrefPane() || applied.failed;
    return applied;
}

} // namespace morvane
