#pragma once
// Follows a rename run for morvane-cli: collects every pair's outcome, tells
// the progress bar, and answers the question about conflicts in the plan. The
// run itself (journal, lock, conflict check, summary) is the controller's.
#include "MRVN7x/app/RenameRunObserver.h"

#include <functional>
#include <string>
#include <vector>

namespace morvane::cli {

class RunReport : public RenameRunObserver {
public:
    bool runPlanned(const RenameOptimizer& plan) override;
    bool goAheadDespiteConflicts(const std::vector<JournalPair>& colliding) override;
    void pairFinished(size_t index, RenameOutcome outcome) override;

    const std::vector<RenameOutcome>& outcomes() const { return outcomes_; }
    // True when every pair was renamed or kept its name.
    bool everythingDone() const;

    static const char* kindName(RenameOutcome::Kind kind);

    // Told after every pair: how many are finished, of how many.
    std::function<void(size_t finished, size_t total)> onProgress;
    // Asked with the colliding pairs when items of the plan would get the same
    // new path; true goes ahead. Without it the run stops.
    std::function<bool(const std::vector<JournalPair>& colliding)> onConflicts;

private:
    std::vector<RenameOutcome> outcomes_;
    size_t pairCount_ = 0;
    size_t finished_ = 0;
};

} // namespace morvane::cli
