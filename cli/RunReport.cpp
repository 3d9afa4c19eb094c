#include "cli/RunReport.h"

#include <algorithm>

namespace morvane::cli {

bool RunReport::runPlanned(const RenameOptimizer& plan) {
    pairCount_ = plan.count();
    finished_ = 0;
    kinds_.assign(pairCount_, RenameOutcome::Kind::NotReached); // filled as the pairs finish
    kept_.clear();
    if (keepEvery_)
        for (size_t i = 0; i < pairCount_; ++i)
            kept_.emplace_back(i, KeptOutcome{});
    keptInOrder_ = true;
    return true;
}

bool RunReport::goAheadDespiteConflicts(const std::vector<JournalPair>& colliding) {
    return onConflicts && onConflicts(colliding);
}

bool RunReport::isNotable(RenameOutcome::Kind kind) {
    return kind == RenameOutcome::Kind::SkippedExisting || kind == RenameOutcome::Kind::Failed;
}

void RunReport::pairFinished(size_t index, const RenameOutcome& outcome) {
    if (index >= kinds_.size())
        kinds_.resize(index + 1, RenameOutcome::Kind::NotReached);
    kinds_[index] = outcome.kind;
    const auto kept = [&outcome] {
        return KeptOutcome{outcome.kind, std::string(outcome.oldPath), std::string(outcome.newPath),
                           std::string(outcome.reason), std::string(outcome.error)};
    };
    if (keepEvery_) {
        for (size_t i = kept_.size(); i <= index; ++i)
            kept_.emplace_back(i, KeptOutcome{});
        kept_[index].second = kept();
    } else if (isNotable(outcome.kind)) {
        // A pair that broke a cycle finishes after the pairs behind it.
        keptInOrder_ = keptInOrder_ && (kept_.empty() || kept_.back().first < index);
        kept_.emplace_back(index, kept());
    }
    if (onProgress)
        onProgress(++finished_, pairCount_);
}

const std::vector<std::pair<size_t, KeptOutcome>>& RunReport::keptOutcomes() {
    if (!keptInOrder_) {
        std::sort(kept_.begin(), kept_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        keptInOrder_ = true;
    }
    return kept_;
}

bool RunReport::everythingDone() const {
    return std::all_of(kinds_.begin(), kinds_.end(), [](RenameOutcome::Kind kind) {
        return kind == RenameOutcome::Kind::Renamed || kind == RenameOutcome::Kind::Unchanged;
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
