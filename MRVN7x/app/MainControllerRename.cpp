// The rename run: the checks before it, the batch on a worker thread under the
// progress window, the per-item loop with its dialogs, and the summary.
#include "MRVN7x/actions/ManualRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/app/RenameProgressDialogController.h"
#include "MRVN7x/engine/RenameBatch.h"
#include "platform/FileOperations.h"
#include "platform/PathText.h"

#include <chrono>
#include <utility>

namespace morvane {

namespace {
constexpr const char* unableToRenameText =
    "The program was unable to rename the file %@.\n\nYou may not have sufficient access "
    "privileges to rename the file, the file may be on a read-only media, an incompatible "
    "external drive or unsupported remote file system or it may be locked.\n\nFiles in a "
    "FileVault encoded home folder cannot be renamed using the 'ultra-safe Finder mode'; "
    "selecting an alternative mode in the 'Advanced Options' section will solve this "
    "problem.\n\nDo you want to continue renaming the remaining files or do you want to skip "
    "them?";

// The text with its one "%@" replaced: the name goes in literally, so a name
// holding "%@" or "%d" is shown as it is.
std::string withPath(const std::string& format, const std::string& path) {
    std::string text = format;
    auto at = text.find("%@");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

bool equalIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return UnicodeText::equals(a, b, kCaseInsensitiveSearch);
}

std::string pathInFolder(std::string_view folder, const std::u16string& displayName) {
    auto name = PathText::fileNameFromDisplayName(displayName);
    return PathText::join(folder, name ? *name : toU8(displayName));
}

bool isRename(RenameChoice choice) {
    return choice == RenameChoice::Rename || choice == RenameChoice::RenameAll;
}
} // namespace

struct MainController::RunState {
    int interactionMode = 0;
    RenameChoice choice = RenameChoice::Rename;
    int successCount = 0;
    bool anyChange = false;
    bool manual = false;
    bool silent = false;
    bool stopped = false;
    bool processSubfolders = false;
    std::u16string selectionString;
    unsigned selectionMask = 0;
};

void MainController::ok() {
    executeRenameAndQuit(globalSettings_->shouldQuitAfterRename());
}
void MainController::applyAndQuit() {
    executeRenameAndQuit(true);
}
void MainController::applyButDontQuit() {
    executeRenameAndQuit(false);
}

void MainController::apply() {
    updateAll();
    if (applyCurrentSettings())
        clearList();
    takeInFilesOpenedWhileBusy();
}

void MainController::executeRenameAndQuit(bool quit) {
    if (!quit && operationMode_ != DropletEdit) {
        apply();
        return;
    }
    updateAll();
    if (operationMode_ == Normal && applyCurrentSettings())
        terminateWithFadeEffect();
    else
        takeInFilesOpenedWhileBusy();
}

// Files opened while a run had the list wait for its end; they join the list
// that follows it.
void MainController::takeInFilesOpenedWhileBusy() {
    if (isRunInProgress() || openedWhileBusy_.empty())
        return;
    addFilePaths(std::exchange(openedWhileBusy_, {}), false);
    initiateDelayedPreviewUpdate();
}

// The checks before a run, in order. True in result when the run is over
// (a notice stood in for it), false when it did not start.
bool MainController::checkSettingsBeforeRun(bool& result) {
    result = false;
    if (!validateActionList())
        return false;
    if (!globalSettings_->shouldProcessFiles() && !globalSettings_->shouldProcessFolders()) {
        if (notices_.run(Notices::inconsistentSettings) == DialogChoice::Help) {
            result = true;
            return false;
        }
        globalSettings_->setShouldProcessFiles(true);
        globalSettings_->setShouldProcessFolders(true);
        return false;
    }
    if (dynamicFileList_->count() == 0) {
        const DialogChoice answer = notices_.run(Notices::noFilesSelected);
        if (answer == DialogChoice::Cancel)
            port_.openHelpPage(std::string(kHelpBase) + "selecting-files.html");
        result = answer == DialogChoice::Help;
        return false;
    }
    if (wasConflictDetected_ && showConflictDetectedDialog() != DialogChoice::Ok)
        return false;
    return true;
}

// While a run goes on, the list, the chain and the attribute service are its
// own: a second run is refused, refreshes and opened files wait for its end.
bool MainController::applyCurrentSettings() {
    if (isRunInProgress()) {
        port_.beep();
        return false;
    }
    runInProgress_ = true;
    const bool result = runCheckedRename();
    runInProgress_ = false;
    if (std::exchange(previewDeferred_, false))
        initiateDelayedPreviewUpdate();
    return result;
}

bool MainController::runCheckedRename() {
    bool result = false;
    if (!checkSettingsBeforeRun(result))
        return result;
    defaults_.synchronize(); // the settings of a run are on disk before it starts
    fileManager_->fixNow();
    RenameBatch batch;
    batch.setNewNameComputer(
        [this](const std::string& path) { return getNewNameForFileAtPath(path); });
    batch.setDynamicFileList(dynamicFileList_.get());
    RenameProgressDialogController progress(port_);
    progress.run([&batch](RenameProgressReceiver& receiver) { batch.start(receiver); });
    dynamicFileList_->setProgressController(nullptr);
    renameLoop(batch.getRenameOptimizer());
    return true;
}

void MainController::renameLoop(const RenameOptimizer& plan) {
    RunState run;
    run.interactionMode = globalSettings_->getInteractionMode();
    run.silent = globalSettings_->shouldCreateSilentDroplets() && operationMode_ == DropletRun;
    run.manual = currentStepIsManual();
    run.processSubfolders = globalSettings_->shouldProcessSubfolders();
    if (run.manual) {
        auto* manual = static_cast<ManualRenameAction*>(compositeAction_->getCurrentAction());
        manual->prepareParameters();
        run.selectionString = manual->getTheSelectionString();
        run.selectionMask = manual->getMask();
    }
    if (runObserver_ && !runObserver_->runPlanned(plan))
        return; // stopped before the first rename: no summary, nothing changed
    const size_t total = plan.count();
    port_.renamingProgress(0, total);
    auto lastReport = std::chrono::steady_clock::now();
    for (size_t i = 0; i < total; ++i) {
        // The clock is read every 64 pairs only: most renames take microseconds.
        if (i % 64 == 0 && std::chrono::steady_clock::now() - lastReport >=
                               UserInterfacePort::kRenamingReportInterval) {
            port_.renamingProgress(i, total);
            lastReport = std::chrono::steady_clock::now();
        }
        if (run.stopped) {
            if (runObserver_)
                runObserver_->pairFinished(
                    i, {RenameOutcome::Kind::NotReached, plan.oldNames()[i], {}, {}});
            continue;
        }
        renamePair(run, i, plan.oldNames()[i], plan.newNames()[i]);
    }
    port_.renamingProgress(total, total);
    showSummary(run);
}

// One pair of the run. The choice carries over from the pair before: a
// rename-all holds for the rest of the run, a skip for one item only.
// The rename is tried first and an item already at the new name is found by
// its refusal (the renamer never replaces anything): a separate look before
// every rename would double the run's work on the file system, and could
// never be more than a hint anyway, since the folder may change in between.
bool MainController::renamePair(RunState& run, size_t index, const std::string& oldPath,
                                std::u16string newName) {
    const std::string_view folder = PathText::folderView(oldPath);
    const std::u16string currentName = PathText::displayNameOfPath(oldPath);
    RenameOutcome outcome{RenameOutcome::Kind::Unchanged, oldPath, oldPath, {}};
    auto finish = [&](RenameOutcome::Kind kind) {
        outcome.kind = kind;
        if (runObserver_)
            runObserver_->pairFinished(index, std::move(outcome));
        return true;
    };
    // Made only for a dialog: most runs show none.
    auto request = [&](const std::u16string& name) {
        return RenameDialogRequest{{oldPath, std::string(folder), currentName, name},
                                   run.selectionString,
                                   run.selectionMask,
                                   run.processSubfolders};
    };
    const bool changed = newName != currentName;
    run.anyChange = run.anyChange || changed;
    bool edited = false; // a dialog changed the planned name
    if (((changed && run.interactionMode == 1) || run.manual) && !run.silent) {
        RenameDialogAnswer answer = port_.runConfirmationDialog(request(newName));
        run.choice = answer.choice;
        edited = answer.newName != newName;
        newName = answer.newName;
    }
    bool skippedForExisting = false;
    for (;;) {
        if (!isRename(run.choice)) {
            // A skip-all ends the run; a skip holds for this item only.
            if (run.choice == RenameChoice::SkipAll)
                run.stopped = true;
            else
                run.choice = RenameChoice::Rename;
            return finish(skippedForExisting ? RenameOutcome::Kind::SkippedExisting
                                             : RenameOutcome::Kind::Skipped);
        }
        if (run.choice == RenameChoice::RenameAll)
            run.interactionMode = 0;
        if (!(changed || run.manual) || newName == currentName)
            return finish(RenameOutcome::Kind::Unchanged);
        const std::string newPath = pathInFolder(folder, newName);
        outcome.newPath = newPath;
        if (renamer_.renameCurrentName(currentName, oldPath, newName, newPath)) {
            ++run.successCount;
            if (runObserver_)
                runObserver_->pairRenamed(index, newPath, !edited);
            return finish(RenameOutcome::Kind::Renamed);
        }
        const bool exists = FileOperations::exists(newPath);
        // Another item at the new name (not this one under another case):
        // skip it, or let the user choose a name or skip.
        if (!exists || equalIgnoringCase(newName, currentName)) {
            outcome.reason = exists ? withPath("A file called %@ already exists.", newPath)
                                    : withPath(unableToRenameText, oldPath);
            alertFailure(run, outcome.reason);
            return finish(RenameOutcome::Kind::Failed);
        }
        skippedForExisting = true;
        run.choice = RenameChoice::Skip;
        if (run.silent)
            continue;
        RenameDialogAnswer answer = port_.runConflictResolutionDialog(request(newName));
        run.choice = answer.choice;
        // A rename-all answer takes the edited name too; otherwise the same
        // name would meet the same existing item again and again.
        if (isRename(run.choice)) {
            edited = edited || answer.newName != newName;
            newName = answer.newName;
        }
    }
}

// A rename that failed for another reason than an item at the new name, or
// a change of case refused because a different item has that name.
void MainController::alertFailure(RunState& run, const std::string& reason) {
    const AlertAnswer answer = port_.runAlert({AlertStyle::Critical,
                                               "The file name could not be changed.",
                                               reason,
                                               {"Continue Renaming", "Skip Remaining Files"}});
    if (answer != AlertAnswer::First)
        run.stopped = true;
}

void MainController::showSummary(const RunState& run) {
    if (!globalSettings_->getShowSummary() || run.silent)
        return;
    Alert summary{AlertStyle::Informational, {}, {}, {"OK"}};
    if (!run.anyChange && !run.manual) {
        summary.title = "The current settings did not result in any file name changes";
        summary.text = "The settings that you have chosen have not affected the names of the "
                       "selected files.\n\nAs a result no file names were changed.";
    } else if (run.successCount == 0) {
        summary.title = "No file names were changed.";
    } else if (run.successCount == 1) {
        summary.title = "1 file name was changed.";
    } else {
        summary.title = std::to_string(run.successCount) + " file names were changed.";
    }
    port_.runAlert(summary);
}

} // namespace morvane
