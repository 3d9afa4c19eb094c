#pragma once
// Follows a rename run for morvane-cli: collects every pair's outcome, tells
// the progress bar, and answers the question about conflicts in the plan. The
// run itself (journal, lock, conflict check, summary) is the controller's.
#include "MRVN7x/app/RenameRunObserver.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace morvane::cli {

// A pair's outcome as the report keeps it: its own copy of the texts.
struct KeptOutcome {
    RenameOutcome::Kind kind = RenameOutcome::Kind::NotReached;
    std::string oldPath, newPath, reason, error;
};

class RunReport : public RenameRunObserver {
public:
    bool runPlanned(const RenameOptimizer& plan) override;
    bool goAheadDespiteConflicts(const std::vector<JournalPair>& colliding) override;
    void pairFinished(size_t index, const RenameOutcome& outcome) override;

    // Whether every pair's outcome is kept with its paths (the JSON report
    // lists them all). Otherwise only skipped and failed pairs keep theirs,
    // the only ones a text report names: a run of a million pairs then keeps
    // one kind per pair instead of two paths each.
    void setKeepEveryOutcome(bool keep) { keepEvery_ = keep; }
    // The number of pairs planned or finished (0 when no plan was made).
    size_t pairCount() const { return kinds_.size(); }
    // The kept outcomes in the order of the plan's pairs.
    const std::vector<std::pair<size_t, KeptOutcome>>& keptOutcomes();
    // True when every pair was renamed or kept its name.
    bool everythingDone() const;

    static const char* kindName(RenameOutcome::Kind kind);

    // Told after every pair: how many are finished, of how many.
    std::function<void(size_t finished, size_t total)> onProgress;
    // Asked with the colliding pairs when items of the plan would get the same
    // new path; true goes ahead. Without it the run stops.
    std::function<bool(const std::vector<JournalPair>& colliding)> onConflicts;

private:
    static bool isNotable(RenameOutcome::Kind kind);

    bool keepEvery_ = false;
    std::vector<RenameOutcome::Kind> kinds_;           // by pair
    std::vector<std::pair<size_t, KeptOutcome>> kept_; // in the order finished
    bool keptInOrder_ = true;
    size_t pairCount_ = 0;
    size_t finished_ = 0;
};

} // namespace morvane::cli
