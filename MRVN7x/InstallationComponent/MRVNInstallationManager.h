#pragma once
// The application's three companion components: the file-manager context
// menu, the preference pane, and the hot-key program inside the pane.
#include "MRVN7x/InstallationComponent/InstallationComponent.h"
#include "MRVN7x/InstallationComponent/InstallationManager.h"

namespace morvane {

class MRVNInstallationManager : public InstallationManager {
public:
    MRVNInstallationManager();

    bool isContextMenuInstalled() const { return contextMenu_.isAlreadyInstalled(); }
    bool isPrefPaneInstalled() const { return prefPane_.isAlreadyInstalled(); }
    bool installContextMenu() { return contextMenu_.install(); }
    bool installPrefPane() { return prefPane_.install(); }
    bool uninstallContextMenu() { return contextMenu_.uninstall(); }
    bool uninstallPrefPane() { return prefPane_.uninstall(); }

    bool shouldUpdateContextMenu() const { return shouldUpdate(contextMenu_); }
    bool shouldUpdatePrefPane() const { return shouldUpdate(prefPane_); }
    bool shouldUpdateHotKey() const { return shouldUpdate(hotKey_); }
    bool updateContextMenu() { return contextMenu_.performUpgrade(); }
    bool updatePrefPane() { return prefPane_.performUpgrade(); }
    // Stops the running hot-key program, replaces it, and starts the new one;
    // false only when the replacement failed.
    bool updateHotKey();
    // Runs the application's quitHotKey.sh with /bin/sh; true on exit status 0.
    bool quitHotKey();

    const InstallationComponent& contextMenuComponent() const { return contextMenu_; }
    const InstallationComponent& prefPaneComponent() const { return prefPane_; }
    const InstallationComponent& hotKeyComponent() const { return hotKey_; }

private:
    static bool shouldUpdate(const InstallationComponent& component) {
        if (!component.isAlreadyInstalled())
            return false;
        const auto older = component.needsUpgrading();
        return older && *older;
    }

    InstallationComponent contextMenu_;
    InstallationComponent prefPane_;
    InstallationComponent hotKey_;
};

} // namespace morvane
