#pragma once
// The preferences window's logic: install and remove the context-menu
// component and the preference pane, open the pane, and the fade-out box.
// Install and remove act on the disk at once; the box is stored by OK. The
// window shows what controls() says and calls one operation per control.
#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"

#include <memory>

namespace morvane {

class MRVNGlobalPreferencesPseudoAction;
class UserInterfacePort;

// Which buttons the window shows, and the state of its check box.
struct PreferencesControls {
    bool contextMenuInstall = false;
    bool contextMenuUninstall = false;
    bool prefPaneInstall = false;
    bool prefPaneOpen = false;
    bool prefPaneUninstall = false;
    bool useFadeOutEffect = false;
    bool operator==(const PreferencesControls&) const = default;
};

// The window as the controller sees it.
class PreferencesView {
public:
    virtual ~PreferencesView() = default;
    virtual void showControls(const PreferencesControls& controls) = 0;
    virtual void endModal() = 0;
};

class PreferencesController {
public:
    // Without a manager, the application's own (MRVNInstallationManager).
    explicit PreferencesController(UserInterfacePort& port,
                                   std::unique_ptr<MRVNInstallationManager> manager = nullptr);

    void setGlobalPreferencesAction(MRVNGlobalPreferencesPseudoAction& globalPrefs);
    // Shows the window modally through the port; returns after ok().
    void run();
    // The window is built: it gets the controls from now on.
    void windowDidLoad(PreferencesView& view);

    void installContextMenu();
    void uninstallContextMenu();
    void installSystemPreferences();
    void uninstallSystemPreferences();
    void launchSystemPreferences();
    // The user ticked or cleared the fade-out box (stored by ok()).
    void setUseFadeOutEffectBox(bool checked);
    // Offers a file-manager restart when the context menu's installed state
    // differs from the start, stores the box, and closes the window.
    void ok();

    const PreferencesControls& controls() const { return controls_; }
    MRVNInstallationManager& manager() { return *manager_; }

private:
    void updateControls();
    // Reports a failed install or removal of a component.
    void reportFailure(bool succeeded, const std::string& title, const std::string& text);

    UserInterfacePort& port_;
    std::unique_ptr<MRVNInstallationManager> manager_;
    MRVNGlobalPreferencesPseudoAction* globalPrefs_ = nullptr;
    PreferencesView* view_ = nullptr;
    PreferencesControls controls_;
    bool contextMenuWasAlreadyInstalled_ = false;
};

} // namespace morvane
