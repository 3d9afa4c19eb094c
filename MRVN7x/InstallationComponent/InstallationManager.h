#pragma once
// What concerns the whole installation rather than one component: restarting
// the file manager so it sees a changed context menu, and opening the
// preference pane.
#include <string>

namespace morvane {

class AlertPort;

class InstallationManager {
public:
    static constexpr const char* kRestartTitle = "Restart Finder?";
    static constexpr const char* kRestartText =
        "The contextual menu component of Morvane will only be available once the Finder is "
        "restarted.\n\nMorvane can restart the Finder for you now or you can wait until you "
        "next log out of your account or restart your Macintosh.\n\nIf you decide to let Morvane "
        "restart the Finder for you, make sure that the Finder is not currently busy copying or "
        "moving files.\n\nDo you wish to restart the Finder now?";
    static constexpr const char* kRestartFailedTitle = "The file manager could not be restarted.";
    static constexpr const char* kRestartFailedText =
        "Morvane restarts Nautilus, Nemo, Caja and Thunar when one of them is running. The "
        "change to the context menu shows once the file manager is started again, or after you "
        "next log in.";
    static constexpr const char* kPrefPaneFile =
        "~/Library/PreferencePanes/Tessary Preferences.prefPane";

    virtual ~InstallationManager() = default;

    // The three-line restart script, handed to the platform's script runner:
    // the running file manager quits and starts again. False when that could
    // not be done (no file manager that can be restarted runs).
    virtual bool restartFinder();
    // Asks first ("Yes" restarts, "No" leaves it) and reports a restart that
    // failed; true when the file manager was restarted.
    bool doInteractiveRestartFinder(AlertPort& port);
    // Brings the preferences host forward, then opens the pane file with the
    // workspace. False when the pane cannot be opened.
    virtual bool openPrefPane();
};

} // namespace morvane
