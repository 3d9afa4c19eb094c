#include "cli/RunReport.h"

#include <algorithm>

namespace morvane::cli {

bool RunReport::runPlanned(const RenameOptimizer& plan) {
    pairCount_ = plan.count();
    finished_ = 0;
    outcomes_.clear();
    outcomes_.resize(pairCount_); // filled by index as the pairs finish
    return true;
}

bool RunReport::goAheadDespiteConflicts(const std::vector<JournalPair>& colliding) {
    return onConflicts && onConflicts(colliding);
}

void RunReport::pairFinished(size_t index, RenameOutcome outcome) {
    if (index >= outcomes_.size())
        outcomes_.resize(index + 1);
    outcomes_[index] = std::move(outcome);
    if (onProgress)
        onProgress(++finished_, pairCount_);
}

bool RunReport::everythingDone() const {
    return std::all_of(outcomes_.begin(), outcomes_.end(), [](const RenameOutcome& o) {
        return o.kind == RenameOutcome::Kind::Renamed || o.kind == RenameOutcome::Kind::Unchanged;
    });
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
