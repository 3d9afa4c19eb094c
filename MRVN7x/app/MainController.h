#pragma once
// The application's logic behind its windows: it owns the file list, the
// chain of steps and the global settings, keeps the preview, and runs the
// rename. It meets the user only through a UserInterfacePort, so the Qt
// windows, morvane-cli and the tests drive the very same logic.
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/actions/PreviewRows.h"
#include "MRVN7x/app/GenericDontShowAgainDialogController.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/app/OneShotTimer.h"
#include "MRVN7x/app/RenameRunObserver.h"
#include "MRVN7x/app/RenameRunResult.h"
#include "MRVN7x/app/UndoService.h"
#include "MRVN7x/app/UserInterfacePort.h"
#include "MRVN7x/engine/DiskRenamer.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/RawFileList.h"
#include "platform/PathText.h"
#include "platform/TextList.h"

#include <memory>
#include <string>
#include <vector>

namespace morvane {

class ActionList;
class RenameFailure;

// Which preview columns are shown.
struct PreviewColumns {
    bool currentName = true;
    bool newName = true;
    bool path = false;
    bool warning = false;
    bool regex = false;
};

class MainController : public KeyValueObserver {
public:
    enum OperationMode { Normal = 0, DropletRun = 1, DropletEdit = 2 };
    static constexpr int kVersion = 75600;
    static constexpr const char* kHelpBase = "https://www.halvard.net/morvane/help/";

    MainController(UserInterfacePort& port, UserDefaults& defaults, ActionList& registry,
                   OneShotTimer* previewTimer = nullptr);
    ~MainController() override;

    static constexpr double kSettingsWriteDelay = 2.0; // seconds of quiet before a write
    // Changed settings are written kSettingsWriteDelay after the last change
    // (besides at quit and before a run); without a timer, only then.
    void setSettingsWriteTimer(OneShotTimer* timer) { settingsTimer_ = timer; }

    // Start-up without windows: global settings, chain, observers.
    void applicationDidFinishLaunching();
    bool hasFinishedInitializing() const { return hasFinishedInitializing_; }
    OperationMode operationMode() const { return operationMode_; }
    void setOperationMode(OperationMode mode) { operationMode_ = mode; }

    // Files.
    bool applicationOpenFile(const std::string& path);
    enum class PathAddition {
        Added,
        Missing, // nothing at the path
        Covered  // it is, holds or lies in an item of the list
    };
    // Adds one path to the list if it may be added; no alert, and the expanded
    // list is left for the caller to update.
    PathAddition addFilePath(const std::string& path);
    // Adds paths, then updates the expanded list. A refused path gets an alert
    // (interactive) or a beep.
    std::vector<PathAddition> addFilePaths(const std::vector<std::string>& paths, bool interactive);
    void showFileDialog();
    void clearList();
    void removeFile(const std::vector<int>& previewRows);

    // Steps of the chain.
    void addAction();
    void removeAction();
    void nudgeActionUp();
    void nudgeActionDown();
    void clearActions();
    // A chain of several steps always shows its steps pane: the "multistep"
    // setting is turned on for it; then the pane follows the setting.
    void showMultistepDrawer();

    // Ending.
    bool cancel();
    void terminateWithFadeEffect();
    void applicationShouldTerminate();
    bool terminationRequested() const { return terminationRequested_; }
    // A run, or a long preview, has the list and the chain: nothing may change them.
    bool isRunInProgress() const { return runInProgress_ || previewInProgress_; }
    static constexpr int kLongPreview = 2000; // rows that take a noticeable time

    // Preview.
    void updateAll();
    void showPreview();
    void updatePreview();
    void postProcessPreviewList(PreviewRows& entries);
    void initiateDelayedPreviewUpdate();
    void delayedPreviewUpdate();
    bool validateActionList();
    // listIndex: the entry's internal index in the list, where known.
    std::u16string getNewNameForFileAtPath(const std::string& path, int listIndex = -1);
    const PreviewRows& previewEntries() const { return preview_; }
    const PreviewColumns& previewColumns() const { return columns_; }
    bool wasConflictDetected() const { return wasConflictDetected_; }
    bool isPreviewEmpty() const { return preview_.empty(); }
    DialogChoice showConflictDetectedDialog();

    // The rename run.
    void ok();
    void apply();
    void applyAndQuit();
    void applyButDontQuit();
    void executeRenameAndQuit(bool quit);
    bool applyCurrentSettings();
    void setRunObserver(RenameRunObserver* observer) { runObserver_ = observer; }
    // Where runs keep their journals and their lock (the state folder by
    // default). Without journal a run cannot be undone; it still takes the lock.
    void setJournalFolder(std::string folder) { journalFolder_ = std::move(folder); }
    void setJournalled(bool journalled) { journalled_ = journalled; }
    std::string journalFolder() const;
    const RenameRunResult& lastRunResult() const { return lastRun_; }

    // Undo of the newest journalled run, asked first and summed up after;
    // nothing while a run goes on.
    void undoLastRun();
    // Reads the journals: for a menu about to open, not for every refresh.
    bool canUndoLastRun() const;

    // Saving the file list.
    void createFileList();

    // Droplets: saved settings that files are dropped on (MainControllerDroplet.cpp).
    void createDroplet();
    bool saveDropletSettingsToPath(const std::string& path);
    plist::Dictionary createDropletPropertyList();
    // A hand-over record taken before the launch (by the window started for a
    // droplet). Without one, the launch takes a record that carries no id.
    void setDropletRecord(plist::Dictionary record) { dropletRecord_ = std::move(record); }
    bool isInDropletEditMode() const { return operationMode_ == DropletEdit; }
    const std::string& dropletSettingsPath() const { return dropletSettingsPath_; }
    // The one run of a droplet, then the end; nothing is saved.
    void runDroplet();
    // The template every droplet is a copy of, in the application's resources.
    static std::string dropletTemplatePath();
    // Where a droplet looks for the application when its preferences name no
    // location: this application's bundle (or program) unless set.
    void setApplicationLocation(std::string path) { applicationLocation_ = std::move(path); }

    // Where the preview goes: in the drawer of the main window (mode 0) or in
    // a window of its own (mode 1) that docks to the main window's edges.
    // Where windows cannot be placed, always the drawer; the setting stays.
    int presentedPreviewMode();
    void showPreviewInDrawer();
    void showPreviewInSeparateWindow();
    void readPreviewPaneWidth();
    void previewDrawerDidClose();
    // The user moved or resized a window (not while the program does).
    void previewWindowDidMove();
    void previewWindowDidResize();
    void mainWindowDidMove();
    // While the main window moves, a docked preview window moves along.
    bool previewMovesWithMainWindow() const;
    bool isPreviewWindowDocked() const { return previewWindowIsDocked_; }
    bool isProgramResizingWindows() const { return programNotUserIsResizingWindows_; }
    void movePreviewWindowRightEdge();
    void movePreviewWindowBottomEdge();
    void movePreviewWindowTopEdge();
    void optimizeWindowFrameForScreen();
    // The preview window's zoomed frame, and the zoom that gives it that frame.
    Frame standardPreviewFrame();
    void zoomPreviewWindow();
    // The main window's new frame, with a preview right below following it.
    void setCustomFrame(const Frame& main);
    void saveWindowPosition();
    // False when no position was saved.
    bool restoreWindowPosition();
    static constexpr std::chrono::milliseconds kJointResizeDuration{100};
    static constexpr std::chrono::milliseconds kFadeOutDuration{400};

    // The preferences window, with a controller of its own for each opening.
    void showPreferencesDialog();

    void observeValueForKey(const std::string& key, BaseAction& object,
                            const std::optional<plist::Value>& oldValue,
                            const std::optional<plist::Value>& newValue) override;

    MRVNGlobalPreferencesPseudoAction& globalSettings() { return *globalSettings_; }
    CompositeRenameAction& compositeAction() { return *compositeAction_; }
    RawFileList& rawFileList() { return *rawFileList_; }
    DynamicFileList& dynamicFileList() { return *dynamicFileList_; }
    // The attribute service of the current file list: made with the list and
    // dropped with it, so its caches never outlive the items they describe.
    FileManager& fileManager() { return *fileManager_; }
    DiskRenamer& diskRenamer() { return renamer_; }
    UserDefaults& defaults() { return defaults_; }
    int previewRefreshCount() const { return previewRefreshes_; }

private:
    void newFileLists();
    // Step 7 of the launch; false when the record was unusable and the
    // application ends.
    bool readSettingsFromDroplet();
    bool refuseDropletRecord(const std::string& text);
    void showDropletEditModeInfo();
    bool saveEditedDroplet();
    bool installDroplet(const std::string& staged, const std::string& target);
    void scheduleSettingsWrite();
    void observeChain();
    bool currentStepIsManual();
    InputContext makeInputContext();
    // The context of one item: its path and its current display name.
    InputContext inputContextFor(const std::string& path, int listIndex = -1);
    void prepareConcurrentNaming(const std::string& firstPath, int listIndex);
    void computePreviewColumns();
    void repairManualSteps();
    std::optional<bool> checkSettingsBeforeRun();
    bool runCheckedRename();
    void takeInFilesOpenedWhileBusy();
    void placePreviewWindow(const WindowFrames& before, WindowFrames after);
    void fillPreviewRows(PreviewRows& entries);
    PreviewEntry previewRow(int index, InputContext& input);
    struct RunState;
    void renameLoop(const RenameOptimizer& plan);
    bool goAheadWithPlan(const RenameOptimizer& plan);
    // The active steps' action names, "Replace text + Add number to start".
    std::string chainInAFewWords() const;
    void refuseRun(const std::string& reason);
    void runStep(RunState& run, const RenameOptimizer& plan, size_t index);
    void renamePair(RunState& run, size_t step, size_t index, const std::string& oldPath,
                    std::u16string_view plannedName, const std::string& plannedPath);
    void finishFromTemporary(RunState& run, size_t step, size_t index, const std::string& oldPath,
                             const std::string& newPath);
    void pairFinished(size_t index, const RenameOutcome& outcome);
    void pairFailed(RunState& run, RenameOutcome& outcome, const RenameFailure& failure);
    void showSummary(const RunState& run);

    UserInterfacePort& port_;
    UserDefaults& defaults_;
    ActionList& registry_;
    OneShotTimer* previewTimer_;
    OneShotTimer* settingsTimer_ = nullptr;
    GenericDontShowAgainDialogController notices_;
    std::unique_ptr<MRVNGlobalPreferencesPseudoAction> globalSettings_;
    std::unique_ptr<CompositeRenameAction> compositeAction_;
    std::unique_ptr<FileManager> fileManager_;
    std::unique_ptr<RawFileList> rawFileList_;
    std::unique_ptr<DynamicFileList> dynamicFileList_;
    DiskRenamer renamer_;
    RenameRunObserver* runObserver_ = nullptr;
    std::string journalFolder_;
    bool journalled_ = true;
    RenameRunResult lastRun_;

    std::optional<plist::Dictionary> dropletRecord_;
    std::string dropletSettingsPath_;
    std::string applicationLocation_;
    OperationMode operationMode_ = Normal;
    bool hasFinishedInitializing_ = false;
    bool terminationRequested_ = false;
    bool userHasBeenInformedOfPreviewCutoffPointThisSession_ = false;
    bool previewTimerPending_ = false;
    bool wasConflictDetected_ = false;
    bool runInProgress_ = false;
    bool previewInProgress_ = false;
    bool previewDeferred_ = false; // a refresh fell due during a run
    bool previewWindowIsDocked_ = false;
    bool programNotUserIsResizingWindows_ = false;
    std::vector<std::string> openedWhileBusy_;
    int previewRefreshes_ = 0;
    PreviewRows preview_;
    PreviewColumns columns_;
};

} // namespace morvane
