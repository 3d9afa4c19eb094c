#include "cli/RunReport.h"

#include "MRVN7x/app/MainController.h"
#include "platform/PathText.h"

#include <algorithm>

namespace morvane::cli {

bool RunReport::runPlanned(const RenameOptimizer& plan) {
    std::vector<std::string> newPaths;
    newPaths.reserve(plan.count());
    for (size_t i = 0; i < plan.count(); ++i) {
        const std::string& oldPath = plan.oldNames()[i];
        auto name = PathText::fileNameFromDisplayName(plan.newNames()[i]);
        newPaths.push_back(PathText::join(PathText::folderView(oldPath), name.value_or("")));
    }
    const std::vector<bool> shared = MainController::markSharedPaths(newPaths);
    std::vector<JournalPair> colliding;
    for (size_t i = 0; i < shared.size(); ++i)
        if (shared[i])
            colliding.push_back({plan.oldNames()[i], newPaths[i]});
    if (!colliding.empty() && !(onConflicts && onConflicts(colliding))) {
        stoppedForConflicts_ = true;
        return false;
    }
    pairCount_ = plan.count();
    outcomes_.clear();
    outcomes_.reserve(pairCount_); // filled in plan order as the pairs finish
    if (journalFolder_.empty())
        return true;
    journal_ = RenameJournal::create(journalFolder_, plan.oldNames(), newPaths);
    journalFailed_ = !journal_;
    return true;
}

void RunReport::pairRenamed(size_t index, const std::string& newPath, bool asPlanned) {
    if (!journal_)
        return;
    if (asPlanned)
        journal_->markDone(index);
    else
        journal_->markDoneAt(index, newPath);
}

void RunReport::pairFinished(size_t index, RenameOutcome outcome) {
    if (index >= outcomes_.size())
        outcomes_.resize(index + 1);
    outcomes_[index] = std::move(outcome);
    if (onProgress)
        onProgress(index + 1, pairCount_);
}

void RunReport::finish() {
    if (journal_)
        journal_->markEnd();
}

bool RunReport::everythingDone() const {
    return std::all_of(outcomes_.begin(), outcomes_.end(), [](const RenameOutcome& o) {
        return o.kind == RenameOutcome::Kind::Renamed || o.kind == RenameOutcome::Kind::Unchanged;
    });
}

size_t RunReport::count(RenameOutcome::Kind kind) const {
    return static_cast<size_t>(std::count_if(outcomes_.begin(), outcomes_.end(),
                                             [kind](const auto& o) { return o.kind == kind; }));
}

const char* RunReport::kindName(RenameOutcome::Kind kind) {
    switch (kind) {
    case RenameOutcome::Kind::Renamed:
        return "renamed";
    case RenameOutcome::Kind::Unchanged:
        return "unchanged";
    case RenameOutcome::Kind::SkippedExisting:
        return "skipped-existing";
    case RenameOutcome::Kind::Skipped:
        return "skipped";
    case RenameOutcome::Kind::Failed:
        return "failed";
    case RenameOutcome::Kind::NotReached:
        return "not-reached";
    }
    return "unknown";
}

} // namespace morvane::cli
