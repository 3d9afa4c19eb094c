// The preview: settings pushed into the file list, one row per entry, the
// conflict marks, the coalescing of refreshes, and the check of the chain.
#include "MRVN7x/actions/sequence/SortBasedAction.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/engine/RenameBatch.h"
#include "MRVN7x/filelist/PathIndex.h"
#include "platform/HelperThread.h"
#include "platform/PathText.h"

#include <atomic>
#include <chrono>
#include <string_view>
#include <utility>

namespace morvane {

namespace {
constexpr const char* manualActionName = "Manually rename";
constexpr double previewDelaySeconds = 0.2;

bool isManual(const BaseRenameAction& step) {
    return step.actionName() == manualActionName;
}
} // namespace

InputContext MainController::makeInputContext() {
    InputContext input;
    input.fileManager = fileManager_.get();
    input.dynamicFileList = dynamicFileList_.get();
    return input;
}

InputContext MainController::inputContextFor(const std::string& path, int listIndex) {
    InputContext input = makeInputContext();
    input.inputPath = path;
    input.listIndex = listIndex;
    input.currentName = PathText::displayNameOfPath(path);
    return input;
}

// Readies every step to name items on two threads, with the first item's context.
void MainController::prepareConcurrentNaming(const std::string& firstPath, int listIndex) {
    InputContext input = inputContextFor(firstPath, listIndex);
    compositeAction_->prepareForConcurrentNaming(input);
}

void MainController::updateAll() {
    BaseRenameAction* current = compositeAction_ ? compositeAction_->getCurrentAction() : nullptr;
    if (current)
        current->validateNow();
    DynamicFileList& list = *dynamicFileList_;
    list.setProcessFiles(globalSettings_->shouldProcessFiles() ? 1 : 0);
    list.setProcessFolders(globalSettings_->shouldProcessFolders() ? 1 : 0);
    list.setProcessSubFolders(globalSettings_->shouldProcessSubfolders() ? 1 : 0);
    if (auto* sorted = dynamic_cast<SortBasedAction*>(current)) {
        list.setSortingMode(sorted->getSortingMode());
        list.setSortingMode2(sorted->getSortingMode2());
    } else {
        list.setSortingMode(10);
        list.setSortingMode2(8);
    }
    list.update();
}

void MainController::showPreview() {
    ++previewRefreshes_;
    fileManager_->fixNow(); // a window stays open for days: "now" is this refresh's moment
    // A droplet's run has no preview to tell about: its window stays hidden,
    // and a silent droplet asks nothing.
    if (dynamicFileList_->cutOffPointWasActuallyApplied() && operationMode_ != DropletRun &&
        !userHasBeenInformedOfPreviewCutoffPointThisSession_) {
        userHasBeenInformedOfPreviewCutoffPointThisSession_ = true;
        notices_.run(Notices::previewCutoff);
    }
    PreviewRows entries;
    fillPreviewRows(entries);
    postProcessPreviewList(entries);
    preview_ = std::move(entries);
    computePreviewColumns();
    port_.presentPreview(presentedPreviewMode());
    takeInFilesOpenedWhileBusy(); // files opened while a long preview was made
}

// The rows of the preview. A long one (the cut-off off, or many added items)
// reports its progress, so a window stays responsive while it is made; the
// list and the chain are the preview's meanwhile, as during a run. A chain
// whose steps name each item on its own names the second half of a long
// list on a second thread, as a run does.
void MainController::fillPreviewRows(PreviewRows& entries) {
    DynamicFileList& list = *dynamicFileList_;
    const int n = list.count();
    const bool isLong = n > kLongPreview && !isRunInProgress();
    const auto total = static_cast<size_t>(n);
    if (isLong) {
        previewInProgress_ = true;
        port_.previewProgress(0, total);
    }
    const int half =
        n >= RenameBatch::kConcurrentFrom && compositeAction_->namesItemsIndependently() ? n / 2
                                                                                         : n;
    std::atomic<int> madeByHelper = 0;
    auto lastReport = std::chrono::steady_clock::now();
    entries.reserve(total);
    const auto fillFirstHalf = [&] {
        InputContext input = makeInputContext();
        for (int i = 0; i < half; ++i) {
            if (isLong && i % 64 == 0 &&
                std::chrono::steady_clock::now() - lastReport >=
                    UserInterfacePort::kRenamingReportInterval) {
                port_.previewProgress(static_cast<size_t>(i + madeByHelper.load()), total);
                lastReport = std::chrono::steady_clock::now();
            }
            entries.push_back(previewRow(i, input));
        }
    };
    if (half == n) {
        fillFirstHalf();
    } else {
        const int first = list.translateExternalIndexToInternal(0);
        prepareConcurrentNaming(std::string(list.pathAtInternalIndex(first)), first);
        PreviewRows secondHalf;
        withHelperThread(fillFirstHalf, [&] {
            InputContext input = makeInputContext();
            secondHalf.reserve(total - static_cast<size_t>(half));
            for (int i = half; i < n; ++i) {
                secondHalf.push_back(previewRow(i, input));
                madeByHelper.fetch_add(1, std::memory_order_relaxed);
            }
        });
        entries.append(secondHalf);
    }
    if (!isLong)
        return;
    port_.previewProgress(total, total);
    previewInProgress_ = false;
    if (std::exchange(previewDeferred_, false))
        initiateDelayedPreviewUpdate();
}

// The row of the item at index in the list's order.
PreviewEntry MainController::previewRow(int index, InputContext& input) {
    DynamicFileList& list = *dynamicFileList_;
    PreviewEntry entry;
    input.listIndex = list.translateExternalIndexToInternal(index);
    input.inputPath = list.pathAtInternalIndex(input.listIndex);
    input.currentName = PathText::displayNameOfPath(input.inputPath);
    compositeAction_->addPreviewDataFor(input.inputPath, entry, input);
    entry.root = list.isRoot(index);
    entry.diff = entry.newName != entry.oldName; // oldName: the display name before the chain
    return entry;
}

void MainController::computePreviewColumns() {
    columns_.currentName = globalSettings_->shouldShowCurrentName();
    columns_.newName = true;
    columns_.path = globalSettings_->shouldShowPath();
    columns_.warning = wasConflictDetected_;
    columns_.regex = !preview_.empty() && preview_.front().regex != nullptr;
}

void MainController::updatePreview() {
    updateAll();
    showPreview();
}

// Marks every entry whose new path another entry shares. "/" in a display
// name is ":" on disk, so two names that differ only in that way collide there
// and are compared so.
void MainController::postProcessPreviewList(PreviewRows& entries) {
    const auto newPathOf = [&entries](size_t i) { return entries.newPath(i); };
    const std::vector<bool> shared = PathIndex(entries.size(), newPathOf).shared();
    wasConflictDetected_ = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        entries.setWarning(i, shared[i]);
        wasConflictDetected_ = wasConflictDetected_ || shared[i];
    }
}

void MainController::initiateDelayedPreviewUpdate() {
    if (previewTimerPending_ || !previewTimer_)
        return;
    previewTimerPending_ = true;
    previewTimer_->start(previewDelaySeconds, [this] { delayedPreviewUpdate(); });
}

void MainController::delayedPreviewUpdate() {
    previewTimerPending_ = false;
    if (isRunInProgress()) {
        previewDeferred_ = true;
        return;
    }
    updatePreview();
}

DialogChoice MainController::showConflictDetectedDialog() {
    return notices_.run(Notices::conflicts);
}

// At least one step must be active; at most one step may be "Manually rename",
// and it must be the last. The repair keeps the first manual step and moves
// it to the end; the operation that asked still stops.
bool MainController::validateActionList() {
    const auto& steps = compositeAction_->getActionDictionaryList();
    bool anyActive = false, manualNotLast = false;
    int manualSteps = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        anyActive = anyActive || steps[i]->isActive();
        if (isManual(*steps[i])) {
            ++manualSteps;
            manualNotLast = manualNotLast || i + 1 != steps.size();
        }
    }
    if (!anyActive) {
        port_.runAlert(
            {AlertStyle::Warning,
             "There are no active renaming actions.",
             "You appear to have un-ticked the 'Active' checkbox in the left column of all "
             "renaming actions in the multi-step interface pane.\n\nThis checkbox allows you to "
             "temporarily disable renaming steps, this is especially useful when you want to "
             "preview the effect of individual rename actions in isolation.\n\nYou do, however, "
             "need to leave at least one of the checkboxes ticked, because otherwise all file "
             "names will remain unchanged.",
             {"OK"}});
        return false;
    }
    if (manualSteps <= 1 && !manualNotLast)
        return true;
    const AlertAnswer answer = port_.runAlert(
        {AlertStyle::Informational,
         "There can only be a single \"Manual Rename\" action and it must be the last  action "
         "to be performed.",
         "The \"Manual Rename\" action is not a normal action. Instead of changing the file name "
         "itself, it provides you with an opportunity to quickly edit portions of the new file "
         "name after all other actions  have been applied.\n\nThis problem will need to be "
         "resolved before you can proceed with the rename.",
         {"Solve the problem for me", "Let me correct the problem"}});
    if (answer == AlertAnswer::First)
        repairManualSteps();
    return false;
}

void MainController::repairManualSteps() {
    CompositeRenameAction& chain = *compositeAction_;
    int remaining = 0;
    for (const auto& step : chain.getActionDictionaryList())
        remaining += isManual(*step) ? 1 : 0;
    for (int i = chain.count() - 1; i >= 0; --i) {
        if (!isManual(*chain.getActionDictionaryList()[static_cast<size_t>(i)]))
            continue;
        if (remaining > 1) {
            chain.removeStep(static_cast<size_t>(i));
            --remaining;
            continue;
        }
        auto manual = chain.removeStep(static_cast<size_t>(i));
        chain.insertStep(std::move(manual), static_cast<size_t>(chain.count()));
        chain.setCurrentActionIndex(chain.count() - 1);
    }
}

bool MainController::currentStepIsManual() {
    BaseRenameAction* current = compositeAction_->getCurrentAction();
    return current && isManual(*current);
}

std::u16string MainController::getNewNameForFileAtPath(const std::string& path, int listIndex) {
    InputContext input = inputContextFor(path, listIndex);
    OutputContext output;
    compositeAction_->executeWithInputContext(input, output);
    return output.newName;
}

} // namespace morvane
