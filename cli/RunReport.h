#pragma once
// Follows a rename run for morvane-cli: keeps the journal (plan before the
// first rename, a done-record after each) and collects every pair's outcome.
#include "MRVN7x/app/RenameRunObserver.h"
#include "MRVN7x/engine/RenameJournal.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

class RunReport : public RenameRunObserver {
public:
    // folder: where journals go; empty for a run without journal.
    explicit RunReport(std::string journalFolder) : journalFolder_(std::move(journalFolder)) {}

    void runPlanned(const RenameOptimizer& plan) override;
    void pairRenamed(size_t index) override;
    void pairFinished(size_t index, const RenameOutcome& outcome) override;

    const std::vector<RenameOutcome>& outcomes() const { return outcomes_; }
    bool journalFailed() const { return journalFailed_; }
    std::string runId() const { return journal_ ? journal_->runId() : std::string(); }
    // True when every pair was renamed or kept its name.
    bool everythingDone() const;
    size_t count(RenameOutcome::Kind kind) const;

    static const char* kindName(RenameOutcome::Kind kind);

private:
    std::string journalFolder_;
    std::optional<RenameJournal> journal_;
    bool journalFailed_ = false;
    std::vector<RenameOutcome> outcomes_;
};

} // namespace morvane::cli
