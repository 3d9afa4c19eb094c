// The rename run: the checks before it, the batch on a worker thread under the
// progress window, the per-item loop with its dialogs, and the summary.
#include "MRVN7x/actions/ManualRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/app/RenameProgressDialogController.h"
#include "MRVN7x/app/RunJournal.h"
#include "MRVN7x/engine/RenameBatch.h"
#include "MRVN7x/engine/RenameFailure.h"
#include "MRVN7x/engine/RunLock.h"
#include "platform/FileOperations.h"
#include "platform/PathText.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace morvane {

namespace {
bool equalIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return UnicodeText::equals(a, b, kCaseInsensitiveSearch);
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
    RunJournal* journal = nullptr;              // none for a run without journal
    const std::string* journalTarget = nullptr; // where the journal says the step goes
    bool parkFirst = false;                     // the step breaks a cycle: to the temporary name
    std::unordered_set<size_t> parked;          // pairs waiting at their temporary name
    // The texts of the step at hand, kept from one step to the next: a run of
    // a million items does not allocate them a million times.
    std::string oldPath, newPath, editedPath;
    std::u16string plannedName, currentName, newName;
    std::string failureReason, failureError; // of the last failed pair
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
    if (operationMode_ == DropletEdit) {
        saveEditedDroplet();
        return;
    }
    if (!quit) {
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

// The checks before a run, in order. Nothing when the run may start;
// otherwise the answer of the run: true when it is over (a notice stood in
// for it), false when it did not start.
std::optional<bool> MainController::checkSettingsBeforeRun() {
    if (!validateActionList())
        return false;
    if (!globalSettings_->shouldProcessFiles() && !globalSettings_->shouldProcessFolders()) {
        if (notices_.run(Notices::inconsistentSettings) == DialogChoice::Help)
            return true;
        globalSettings_->setShouldProcessFiles(true);
        globalSettings_->setShouldProcessFolders(true);
        return false;
    }
    if (dynamicFileList_->count() == 0) {
        const DialogChoice answer = notices_.run(Notices::noFilesSelected);
        if (answer == DialogChoice::Cancel)
            port_.openHelpPage(std::string(kHelpBase) + "selecting-files.html");
        return answer == DialogChoice::Help;
    }
    if (wasConflictDetected_ && showConflictDetectedDialog() != DialogChoice::Ok)
        return false;
    return std::nullopt;
}

std::string MainController::chainInAFewWords() const {
    std::string words;
    for (const auto& step : compositeAction_->getActionDictionaryList())
        if (step && step->getParamInt("active", 1) != 0)
            words += (words.empty() ? "" : " + ") + step->actionName();
    return words;
}

std::string MainController::journalFolder() const {
    return journalFolder_.empty() ? RenameJournal::defaultFolder() : journalFolder_;
}

// Nothing was renamed: the reason goes to the result and to the user.
void MainController::refuseRun(const std::string& reason) {
    lastRun_.status = RenameRunResult::Status::Refused;
    lastRun_.reason = reason;
    port_.runAlert({AlertStyle::Critical, "No file names were changed.", reason, {"OK"}});
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
    lastRun_ = {};
    if (const auto answer = checkSettingsBeforeRun())
        return *answer;
    // One run at a time, taken before the list is read, so the plan sees no
    // other run's half-done work. A run without journal may go on where the
    // lock file cannot be made, but never past another run.
    auto lock = RunLock::acquire(journalFolder(), "rename run", RunLock::kDefaultWait);
    if (!lock && (lock.failure().code == RunLock::kBusy || journalled_)) {
        refuseRun(lock.message());
        return false;
    }
    defaults_.synchronize(); // the settings of a run are on disk before it starts
    fileManager_->fixNow();
    RenameBatch batch;
    batch.setNewNameComputer([this](const std::string& path, int index) {
        return getNewNameForFileAtPath(path, index);
    });
    batch.setDynamicFileList(dynamicFileList_.get());
    if (compositeAction_->namesItemsIndependently())
        batch.allowConcurrentNaming([this](const std::string& firstPath, int index) {
            prepareConcurrentNaming(firstPath, index);
        });
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
    if (!goAheadWithPlan(plan))
        return;
    std::optional<RunJournal> journal;
    if (journalled_) {
        auto begun = RunJournal::begin(journalFolder(), plan);
        if (!begun) {
            refuseRun("The run was not started, because its journal could not be written (" +
                      begun.message() + "); without it the run could not be undone.");
            return;
        }
        journal = std::move(*begun);
        lastRun_.runId = journal->runId();
        RunJournal::writeAbout(journalFolder(), journal->runId(), chainInAFewWords());
        run.journal = &*journal;
    }
    lastRun_.status = RenameRunResult::Status::Completed;
    const size_t total = plan.steps().size();
    port_.renamingProgress(0, total);
    auto lastReport = std::chrono::steady_clock::now();
    for (size_t step = 0; step < total; ++step) {
        // The clock is read every 64 steps only: most renames take microseconds.
        if (step % 64 == 0 && std::chrono::steady_clock::now() - lastReport >=
                                  UserInterfacePort::kRenamingReportInterval) {
            port_.renamingProgress(step, total);
            lastReport = std::chrono::steady_clock::now();
        }
        if (step + 1 < total)
            plan.prefetchStep(step + 1);
        runStep(run, plan, step);
    }
    renamer_.closeFolder(); // an open folder would keep its file system from being unmounted
    port_.renamingProgress(total, total);
    if (journal && !journal->finish())
        lastRun_.journalWarning =
            "the journal could not record the end of the run: " + std::string(std::strerror(errno));
    showSummary(run);
}

// Checks the whole plan with the preview's rule (the preview may have shown
// only its first entries): the observer decides, else the conflicts notice,
// unless the user already went ahead over the preview's conflicts.
bool MainController::goAheadWithPlan(const RenameOptimizer& plan) {
    for (size_t i = 0; i < plan.count(); ++i)
        if (plan.sharesNewPath(i))
            lastRun_.conflicts.push_back({std::string(plan.oldNames()[i]), plan.newPath(i)});
    if (lastRun_.conflicts.empty())
        return true;
    // A silent droplet asks nothing: the renamer never replaces an item, so
    // the second of two items wanting one name is skipped as existing.
    const bool silent =
        operationMode_ == DropletRun && globalSettings_->shouldCreateSilentDroplets();
    const bool goAhead = runObserver_ ? runObserver_->goAheadDespiteConflicts(lastRun_.conflicts)
                                      : silent || wasConflictDetected_ ||
                                            showConflictDetectedDialog() == DialogChoice::Ok;
    if (!goAhead)
        lastRun_.status = RenameRunResult::Status::StoppedForConflicts;
    return goAhead;
}

// One step of the plan. A pair that breaks a cycle parks at its temporary
// name and finishes at its second step, which runs even after a skip-all:
// no item is left under a temporary name.
void MainController::runStep(RunState& run, const RenameOptimizer& plan, size_t step) {
    const RenameOptimizer::Step& planned = plan.steps()[step];
    const size_t pair = planned.pair;
    const std::string& oldPath = run.oldPath.assign(plan.oldNames()[pair]);
    const std::string& newPath = run.newPath;
    plan.newPath(pair, run.newPath);
    if (planned.kind == RenameOptimizer::StepKind::FromTemporary) {
        if (run.parked.erase(pair) != 0) {
            finishFromTemporary(run, step, pair, oldPath, newPath);
        }
        return;
    }
    if (run.stopped) {
        pairFinished(pair, {RenameOutcome::Kind::NotReached, oldPath, {}, {}, {}});
        return;
    }
    const std::string temporary = planned.kind == RenameOptimizer::StepKind::ToTemporary
                                      ? RenameOptimizer::temporaryPathFor(oldPath)
                                      : std::string();
    run.parkFirst = !temporary.empty();
    run.journalTarget = run.parkFirst ? &temporary : &newPath;
    plan.newName(pair, run.plannedName);
    renamePair(run, step, pair, oldPath, run.plannedName, newPath);
}

// The second step of a pair that breaks a cycle. If its new name was taken
// meanwhile (a dialog skipped part of the cycle) it goes back to its old name.
void MainController::finishFromTemporary(RunState& run, size_t step, size_t index,
                                         const std::string& oldPath, const std::string& newPath) {
    const std::string temporary = RenameOptimizer::temporaryPathFor(oldPath);
    if (FileOperations::moveNoReplace(temporary, newPath)) {
        if (run.journal)
            run.journal->stepDone(step);
        ++run.successCount;
        if (runObserver_)
            runObserver_->pairRenamed(index, newPath, true);
        pairFinished(index, {RenameOutcome::Kind::Renamed, oldPath, newPath, {}, {}});
        return;
    }
    const int error = errno;
    if (error == EEXIST && FileOperations::moveNoReplace(temporary, oldPath)) {
        pairFinished(index, {RenameOutcome::Kind::SkippedExisting, oldPath, newPath, {}, {}});
        return;
    }
    RenameOutcome outcome{RenameOutcome::Kind::Failed, oldPath, newPath, {}, {}};
    pairFailed(run, outcome,
               RenameFailure::ofSystemError(error, temporary, newPath)
                   .followedBy("the item is now called " + temporary +
                               ", undoing the run gives it its old name back"));
    pairFinished(index, outcome);
}

void MainController::pairFinished(size_t index, const RenameOutcome& outcome) {
    ++lastRun_.counts[static_cast<size_t>(outcome.kind)];
    if (runObserver_)
        runObserver_->pairFinished(index, outcome);
}

// One pair of the run. The choice carries over from the pair before: a
// rename-all holds for the rest of the run, a skip for one item only.
// The rename is tried first and an item already at the new name is found by
// its refusal (the renamer never replaces anything): a separate look before
// every rename would double the run's work on the file system, and could
// never be more than a hint anyway, since the folder may change in between.
void MainController::renamePair(RunState& run, size_t step, size_t index,
                                const std::string& oldPath, std::u16string_view plannedName,
                                const std::string& plannedPath) {
    std::u16string& newName = run.newName.assign(plannedName);
    const std::string_view folder = PathText::folderView(oldPath);
    const std::u16string& currentName = run.currentName;
    PathText::displayNameOfPath(oldPath, run.currentName);
    // The new path is the old one until a new name is tried (most pairs get one).
    RenameOutcome outcome{RenameOutcome::Kind::Unchanged, oldPath, {}, {}, {}};
    auto finish = [&](RenameOutcome::Kind kind) {
        outcome.kind = kind;
        if (outcome.newPath.empty())
            outcome.newPath = oldPath;
        pairFinished(index, outcome);
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
        // The plan worked out the path of its own name already.
        const std::string& newPath =
            newName == plannedName
                ? plannedPath
                : (run.editedPath = PathText::pathOfDisplayName(folder, newName));
        outcome.newPath = newPath;
        // A pair that breaks a cycle parks at its temporary name, unless a
        // dialog gave it a name of its own (the cycle is then broken already).
        const bool park = run.parkFirst && !edited;
        const std::string& target = park ? *run.journalTarget : newPath;
        if (auto refused = RenameFailure::ofNewName(newName)) {
            pairFailed(run, outcome, *refused);
            return finish(RenameOutcome::Kind::Failed);
        }
        if (run.journal && target != *run.journalTarget) {
            const auto recorded = run.journal->stepRedirected(
                step, target, DiskRenamer::differsInCaseOnly(currentName, newName));
            if (!recorded) {
                const Failure& failure = recorded.failure();
                pairFailed(run, outcome, RenameFailure(failure.code, failure.message));
                return finish(RenameOutcome::Kind::Failed);
            }
        }
        if (park ? FileOperations::moveNoReplace(oldPath, target)
                 : renamer_.renameCurrentName(currentName, oldPath, newName, newPath)) {
            if (run.journal)
                run.journal->stepDone(step);
            if (park) {
                run.parked.insert(index);
                return; // finished by its second step
            }
            ++run.successCount;
            if (runObserver_)
                runObserver_->pairRenamed(index, newPath, !edited);
            return finish(RenameOutcome::Kind::Renamed);
        }
        const int error = errno;
        if (park) {
            pairFailed(run, outcome,
                       error == EEXIST
                           ? RenameFailure(error, "the temporary name " + target + " is taken")
                           : RenameFailure::ofSystemError(error, oldPath, target));
            return finish(RenameOutcome::Kind::Failed);
        }
        // Another item at the new name (not this one under another case):
        // skip it, or let the user choose a name or skip. Only a refusal for
        // an existing item counts: the folder itself "exists" under a name
        // the file system refused for another reason.
        const bool exists = error == EEXIST && FileOperations::exists(newPath);
        if (!exists || equalIgnoringCase(newName, currentName)) {
            pairFailed(run, outcome,
                       exists ? RenameFailure(error, "a file called " + newPath + " already exists")
                              : RenameFailure::ofSystemError(error, oldPath, newPath));
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
// a change of case refused because a different item has that name: the
// outcome says why in one line, the dialog says it at length.
void MainController::pairFailed(RunState& run, RenameOutcome& outcome,
                                const RenameFailure& failure) {
    outcome.reason = run.failureReason = failure.reason();
    outcome.error = run.failureError = failure.errorName();
    const AlertAnswer answer = port_.runAlert({AlertStyle::Critical,
                                               "The file name could not be changed.",
                                               failure.dialogText(std::string(outcome.oldPath)),
                                               {"Continue Renaming", "Skip Remaining Files"}});
    if (answer != AlertAnswer::First)
        run.stopped = true;
}

void MainController::showSummary(const RunState& run) {
    if (!globalSettings_->getShowSummary() || run.silent)
        return;
    const auto shown = [this](Alert& summary) {
        lastRun_.summary = summary.title;
        port_.runAlert(summary);
    };
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
    shown(summary);
}

} // namespace morvane
