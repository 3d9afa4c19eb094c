#include "cli/RunReport.h"

#include "platform/PathText.h"

#include <algorithm>

namespace morvane::cli {

void RunReport::runPlanned(const RenameOptimizer& plan) {
    outcomes_.assign(plan.count(), RenameOutcome());
    if (journalFolder_.empty())
        return;
    std::vector<JournalPair> pairs;
    pairs.reserve(plan.count());
    for (size_t i = 0; i < plan.count(); ++i) {
        const std::string& oldPath = plan.oldNames()[i];
        auto name = PathText::fileNameFromDisplayName(plan.newNames()[i]);
        pairs.push_back({oldPath, PathText::join(PathText::folderOf(oldPath), name.value_or(""))});
    }
    journal_ = RenameJournal::create(journalFolder_, pairs);
    journalFailed_ = !journal_;
}

void RunReport::pairRenamed(size_t index) {
    if (journal_)
        journal_->markDone(index);
}

void RunReport::pairFinished(size_t index, const RenameOutcome& outcome) {
    if (index < outcomes_.size())
        outcomes_[index] = outcome;
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
