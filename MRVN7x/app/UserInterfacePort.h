#pragma once
// The one interface through which the application's logic meets the user.
// The Qt windows implement it with real dialogs, morvane-cli for a terminal,
// and the tests with a scripted fake. Nothing behind it knows which.
#include "MRVN7x/InstallationComponent/AlertPort.h"
#include "MRVN7x/app/EventLoopHost.h"
#include "MRVN7x/app/WindowLayout.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class PreferencesController;

// The buttons of the don't-show-again windows and of the save-list options:
// ok (or save), cancel, help, and two more some windows have.
enum class DialogChoice { None = 0, Ok = 1, Cancel = 2, Help = 3, Fourth = 4, Fifth = 5 };

// The per-file context of the confirmation and conflict-resolution dialogs.
struct RenameContext {
    std::string fullPath;       // "fullPath": the item's path before the rename
    std::string path;           // "path": the folder that holds it
    std::u16string currentName; // "currentName": its display name
    std::u16string newName;     // "newName": the proposed new display name
};

// Answers of the confirmation and conflict-resolution dialogs.
enum class RenameChoice { Rename = 0, Skip = 1, SkipAll = 2, RenameAll = 3 };

struct RenameDialogRequest {
    RenameContext context;
    // The part of the new name to preselect (empty: the whole name), and the
    // search options to find it with (1 = ignore case).
    std::u16string selectionString;
    unsigned selectionMask = 0;
    bool showInformationView = false;
};

// The part of a proposed name that a dialog selects when it opens, in UTF-16
// units: the first match of the request's selection string under its search
// options, or the whole name when there is none (always so for an empty one).
struct NameSelection {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const NameSelection&) const = default;
};
NameSelection preselection(const RenameDialogRequest& request);

struct RenameDialogAnswer {
    RenameChoice choice = RenameChoice::Skip;
    std::u16string newName; // the name in the dialog's field (for Rename and RenameAll)
};

// The lines of the rename progress window.
struct ProgressDisplay {
    int phase = 1; // 1 disk scan, 2 new names, 3 optimisation, 4 cleaning up
    bool determinate = false;
    int value = 0;
    int maximum = 0;
    std::string status1, status2, status3;
};

// The options of the file-list export.
struct SaveListOptions {
    DialogChoice choice = DialogChoice::Cancel; // Ok saves
    int layout = 0; // 0: name, new name; 1: new name; 2: full path, new name
    bool onlyAffectedFiles = false;
};

// The choices of the Component Setup window at a first launch.
struct ComponentChoices {
    bool installContextMenu = false;
    bool installPreferencePane = false;
};

class UserInterfacePort : public AlertPort {
public:
    // Runs the don't-show-again window with the given resource name; returns
    // the button and whether the box was ticked.
    virtual DialogChoice runDontShowAgainDialog(const std::string& windowResource,
                                                bool& dontShowAgain) = 0;
    virtual RenameDialogAnswer runConfirmationDialog(const RenameDialogRequest& request) = 0;
    virtual RenameDialogAnswer runConflictResolutionDialog(const RenameDialogRequest& request) = 0;
    virtual SaveListOptions runSaveListDialog() = 0;
    // A save panel; nothing when cancelled.
    virtual std::optional<std::string> runSavePanel(const std::string& title) = 0;
    // A save panel for a bundle: names end in "." + extension, it starts in
    // folder; the chosen path (its name as the user typed it), nothing when
    // cancelled. A front end without panels saves nothing.
    virtual std::optional<std::string> runBundleSavePanel(const std::string& title,
                                                          const std::string& extension,
                                                          const std::string& folder) {
        (void)title;
        (void)extension;
        (void)folder;
        return std::nullopt;
    }
    // An open panel for files and folders; nothing when cancelled.
    virtual std::optional<std::vector<std::string>> runOpenPanel(const std::string& title,
                                                                 const std::string& prompt,
                                                                 const std::string& folder) = 0;
    virtual void beep() = 0;
    virtual void openHelpPage(const std::string& address) = 0;

    // Window matters the logic asks for; a front end without windows ignores them.
    virtual void switchAction() {}
    virtual void showMultistepDrawer() {}
    // The preview rows were rebuilt (previewMode 0: drawer, 1: own window).
    virtual void presentPreview(int previewMode) { (void)previewMode; }
    // Fades the windows out over the given time before the end.
    virtual void fadeOutWindows(std::chrono::milliseconds duration) { (void)duration; }
    virtual void terminateApplication() {}
    // The preferences window, modal, its controls run by controller; returns
    // when the window closes (after the controller's ok()).
    virtual void runPreferencesWindow(PreferencesController& controller) { (void)controller; }
    // The Component Setup window of a first launch, modal; a front end
    // without windows installs nothing.
    virtual ComponentChoices runComponentSetupWindow() { return {}; }

    // Where the windows are, in screen points with y growing upwards. A front
    // end that cannot read or place its windows (none at all, or a Wayland
    // session) answers false, and the preview stays in the main window.
    virtual bool canPlaceWindows() { return false; }
    virtual WindowFrames windowFrames() { return {}; }
    // The visible part of the main window's screen (without panels and docks).
    virtual Frame screenFrame() { return {}; }
    // Gives both windows these frames, at once or moving together over the
    // duration; returns when they have them.
    virtual void setWindowFrames(const WindowFrames& frames, std::chrono::milliseconds duration) {
        (void)frames;
        (void)duration;
    }
    // The width of the preview drawer's content while it is open, else nothing.
    virtual std::optional<int> openPreviewDrawerWidth() { return std::nullopt; }

    // The progress window of a rename run: shown, updated and closed on the
    // main thread.
    virtual void showProgress(const ProgressDisplay& display) = 0;
    virtual void updateProgress(const ProgressDisplay& display) = 0;
    virtual void closeProgress() = 0;

    // The front end's event loop, if it has one: the main thread handles its
    // events while a run keeps it (see EventLoopHost).
    virtual EventLoopHost* eventLoopHost() { return nullptr; }
    // The renames of a run, on the main thread after the progress window:
    // called when the loop starts, then at most every kRenamingReportInterval,
    // and once more with done == total at its end (also after a stop).
    static constexpr std::chrono::milliseconds kRenamingReportInterval{50};
    virtual void renamingProgress(std::size_t done, std::size_t total) {
        (void)done;
        (void)total;
    }
    // The same for a preview of more than MainController::kLongPreview rows
    // (the cut-off switched off): a window shows it and handles its events.
    virtual void previewProgress(std::size_t done, std::size_t total) {
        (void)done;
        (void)total;
    }
};

} // namespace morvane
