#include "MRVN7x/app/MainController.h"

#include "MRVN7x/app/FileListReader.h"

#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/engine/FileManager.h"
#include "platform/FileOperations.h"
#include "platform/SystemLog.h"

namespace morvane {

MainController::MainController(UserInterfacePort& port, UserDefaults& defaults,
                               ActionList& registry, OneShotTimer* previewTimer)
    : port_(port), defaults_(defaults), registry_(registry), previewTimer_(previewTimer),
      notices_(port, defaults), globalSettings_(makeAction<MRVNGlobalPreferencesPseudoAction>()),
      renamer_(*globalSettings_) {
    globalSettings_->setMainController(this);
    newFileLists();
}

MainController::~MainController() {
    if (previewTimer_ && previewTimerPending_)
        previewTimer_->stop();
    if (settingsTimer_)
        settingsTimer_->stop();
}

void MainController::scheduleSettingsWrite() {
    if (!settingsTimer_)
        return;
    settingsTimer_->stop();
    settingsTimer_->start(kSettingsWriteDelay, [this] { defaults_.synchronize(); });
}

void MainController::newFileLists() {
    fileManager_ = std::make_unique<FileManager>();
    rawFileList_ = std::make_unique<RawFileList>();
    dynamicFileList_ = std::make_unique<DynamicFileList>(*fileManager_);
    dynamicFileList_->setRawFileList(rawFileList_.get());
}

// The launch sequence, without the windows: the global settings, a droplet's
// record, handed-over items, the chain (from the preferences in normal mode),
// and the observers that schedule preview refreshes.
void MainController::applicationDidFinishLaunching() {
    hasFinishedInitializing_ = false;
    registry_.loadActionParametersFromPreferences(*globalSettings_);
    compositeAction_ = makeAction<CompositeRenameAction>(registry_);
    compositeAction_->setOwner(this);
    if (!readSettingsFromDroplet())
        return; // an unusable droplet record: the application ends
    if (operationMode_ == Normal) {
        // Items the file manager's context menu handed over while we were not
        // running; a droplet's window leaves them for the next ordinary launch.
        for (const std::string& path :
             FileListReader::readFileList().value_or(std::vector<std::string>{}))
            applicationOpenFile(path);
        // A saved chain that does not load is logged; the first-start chain stands.
        (void)compositeAction_->loadFromPreferences();
    }
    globalSettings_->registerObserverForAllValues(this);
    observeChain();
    if (operationMode_ == DropletEdit) {
        showDropletEditModeInfo();
        if (terminationRequested_)
            return;
    }
    hasFinishedInitializing_ = true;
    showMultistepDrawer();
    updateAll();
    // Handing the settings their own list notifies every observer: the first preview.
    globalSettings_->setParameterList(globalSettings_->parameterList());
}

void MainController::observeChain() {
    compositeAction_->registerObserverForAllValues(this);
    for (const char* key : {"transientActionIndex", "currentActionIndex", "fragmentSelection"})
        compositeAction_->addObserver(this, key);
}

bool MainController::applicationOpenFile(const std::string& path) {
    if (!hasFinishedInitializing_) {
        rawFileList_->addPath(path);
        return true;
    }
    if (isRunInProgress()) {
        openedWhileBusy_.push_back(path);
        return true;
    }
    addFilePaths({path}, false); // a refused path beeps; the request is handled either way
    initiateDelayedPreviewUpdate();
    return true;
}

MainController::PathAddition MainController::addFilePath(const std::string& path) {
    // An item that vanished between its choice and its arrival (a drop from a
    // file manager that was out of date) has nothing to rename.
    if (!FileOperations::exists(path))
        return PathAddition::Missing;
    if (!rawFileList_->isLegalPath(path))
        return PathAddition::Covered;
    rawFileList_->addPath(path);
    return PathAddition::Added;
}

std::vector<MainController::PathAddition>
MainController::addFilePaths(const std::vector<std::string>& paths, bool interactive) {
    std::vector<PathAddition> results;
    results.reserve(paths.size());
    for (const auto& path : paths) {
        results.push_back(addFilePath(path));
        if (results.back() == PathAddition::Added)
            continue;
        if (!interactive)
            port_.beep();
        else if (results.back() == PathAddition::Missing)
            port_.runAlert({AlertStyle::Warning,
                            "An item could not be added.",
                            path + " no longer exists.",
                            {"OK"}});
        else
            port_.runAlert({AlertStyle::Warning,
                            "Some files could not be added.",
                            "You cannot add files that are located in folders that are already in "
                            "the list. This would compromise the \"Process Subfolders\" feature.",
                            {"OK"}});
    }
    dynamicFileList_->update();
    return results;
}

void MainController::showFileDialog() {
    const std::string folder = globalSettings_->lastAddDirectory();
    if (auto chosen = port_.runOpenPanel("Add", "Add", folder)) {
        addFilePaths(*chosen, true);
        if (!chosen->empty())
            globalSettings_->setLastAddDirectory(PathText::folderOf(chosen->front()));
    }
    showPreview();
}

void MainController::clearList() {
    // The old lists and their attribute service go only after the new ones are
    // in place; the new service starts with empty caches.
    auto oldFiles = std::move(fileManager_);
    auto oldRaw = std::move(rawFileList_);
    auto oldDynamic = std::move(dynamicFileList_);
    newFileLists();
    updateAll();
    initiateDelayedPreviewUpdate();
}

void MainController::removeFile(const std::vector<int>& previewRows) {
    std::vector<std::string> paths;
    for (int row : previewRows)
        if (row >= 0 && row < dynamicFileList_->count() && dynamicFileList_->isRoot(row))
            paths.emplace_back(dynamicFileList_->pathAtIndex(row));
    for (const auto& path : paths)
        rawFileList_->removePath(path);
    updatePreview();
}

void MainController::addAction() {
    (void)compositeAction_->addStep(); // a failure is logged where it happens
}

void MainController::removeAction() {
    const int n = compositeAction_->count();
    if (n <= 1)
        return; // the chain keeps at least one step
    const int c = compositeAction_->getCurrentActionIndexAsInt();
    if (c == n - 1)
        compositeAction_->setCurrentActionIndex(n - 2);
    compositeAction_->removeStep(static_cast<size_t>(c));
    compositeAction_->setCurrentActionIndex(c <= 1 ? 0 : c - 1);
}

void MainController::nudgeActionUp() {
    if (compositeAction_->getCurrentActionIndexAsInt() == 0)
        port_.beep();
    else
        compositeAction_->nudgeUp();
}

void MainController::nudgeActionDown() {
    if (compositeAction_->getCurrentActionIndexAsInt() == compositeAction_->count() - 1)
        port_.beep();
    else
        compositeAction_->nudgeDown();
}

void MainController::clearActions() {
    const int current = compositeAction_->getCurrentActionIndexAsInt();
    // Keep only the current step: move it to the front, then drop the rest.
    compositeAction_->setCurrentActionIndex(0);
    for (int i = compositeAction_->count() - 1; i >= 0; --i)
        if (i != current)
            compositeAction_->removeStep(static_cast<size_t>(i));
    compositeAction_->setCurrentActionIndex(0);
}

void MainController::showMultistepDrawer() {
    if (compositeAction_->count() > 1 && globalSettings_->getParamInt("multistep", 0) == 0)
        globalSettings_->setValueForKey("multistep", plist::Value(1)); // shows the pane
    else
        port_.showMultistepDrawer();
}

bool MainController::cancel() {
    if (!validateActionList())
        return false;
    updateAll();
    terminateWithFadeEffect();
    return true;
}

// A droplet's global settings stay the droplet's: they never replace the
// application's own.
void MainController::terminateWithFadeEffect() {
    readPreviewPaneWidth();
    if (operationMode_ == Normal)
        registry_.saveActionParametersToPreferences(*globalSettings_);
    defaults_.synchronize();
    terminationRequested_ = true;
    if (globalSettings_->shouldUseFadeOutEffect())
        port_.fadeOutWindows(kFadeOutDuration);
    port_.terminateApplication();
}

void MainController::applicationShouldTerminate() {
    readPreviewPaneWidth();
    updateAll();
    if (operationMode_ != Normal)
        return;
    compositeAction_->saveToPreferences();
    saveWindowPosition();
    defaults_.setObject(DefaultsKeys::version, plist::Value(kVersion));
    defaults_.synchronize();
}

// Every change of a setting or of the chain arrives here; a burst of them
// becomes one refresh.
void MainController::observeValueForKey(const std::string& key, BaseAction&,
                                        const std::optional<plist::Value>&,
                                        const std::optional<plist::Value>&) {
    scheduleSettingsWrite();
    if (key == "multistep") {
        port_.showMultistepDrawer();
        return;
    }
    if (key == "currentActionIndex" || key == "transientActionIndex") {
        readPreviewPaneWidth();
        port_.switchAction();
        return;
    }
    if (key == "previewMode") {
        showPreview();
        return;
    }
    if (key == "sortingMode" || key == "sortEachFolderSeparately")
        updateAll();
    initiateDelayedPreviewUpdate();
}

} // namespace morvane
