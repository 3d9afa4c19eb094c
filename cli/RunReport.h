#pragma once
// Follows a rename run for morvane-cli: keeps the journal (plan before the
// first rename, a done-record after each) and collects every pair's outcome.
#include "MRVN7x/app/RenameRunObserver.h"
#include "MRVN7x/engine/RenameJournal.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

class RunReport : public RenameRunObserver {
public:
    // folder: where journals go; empty for a run without journal.
    explicit RunReport(std::string journalFolder) : journalFolder_(std::move(journalFolder)) {}

    // Checks the plan for items that would get the same new path (the rule of
    // the preview), then writes the journal. False stops the run.
    bool runPlanned(const RenameOptimizer& plan) override;
    void pairRenamed(size_t index, const std::string& newPath, bool asPlanned) override;
    void pairFinished(size_t index, RenameOutcome outcome) override;
    // The run is over: the journal records its end.
    void finish();

    const std::vector<RenameOutcome>& outcomes() const { return outcomes_; }
    bool journalFailed() const { return journalFailed_; }
    std::string runId() const { return journal_ ? journal_->runId() : std::string(); }
    // True when every pair was renamed or kept its name.
    bool everythingDone() const;
    size_t count(RenameOutcome::Kind kind) const;

    static const char* kindName(RenameOutcome::Kind kind);

    // Told after every pair: how many are finished, of how many.
    std::function<void(size_t finished, size_t total)> onProgress;
    // Asked with the colliding pairs when items of the plan would get the same
    // new path; true goes ahead. Without it the run stops.
    std::function<bool(const std::vector<JournalPair>& colliding)> onConflicts;
    bool stoppedForConflicts() const { return stoppedForConflicts_; }

private:
    std::string journalFolder_;
    std::optional<RenameJournal> journal_;
    bool journalFailed_ = false;
    bool stoppedForConflicts_ = false;
    std::vector<RenameOutcome> outcomes_;
    size_t pairCount_ = 0;
};

} // namespace morvane::cli
