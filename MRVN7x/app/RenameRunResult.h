#pragma once
// What a rename run came to, for any front end to show: whether it ran, why
// not, its journal, and how many pairs ended which way.
#include "MRVN7x/app/RenameRunObserver.h"
#include "MRVN7x/engine/RenameJournal.h"

#include <array>
#include <string>
#include <vector>

namespace morvane {

struct RenameRunResult {
    enum class Status {
        NotStarted,          // a check before the run stopped it (its notice was shown)
        StoppedForConflicts, // items of the plan would get the same new path
        Refused,             // nothing renamed: no journal could be written, or the lock is held
        Completed            // the run went through its plan (outcomes in counts)
    };
    Status status = Status::NotStarted;
    std::string reason;                 // for Refused
    std::string runId;                  // the run's journal; empty without one
    std::vector<JournalPair> conflicts; // for StoppedForConflicts, and those gone ahead with
    std::array<size_t, 6> counts{};     // by RenameOutcome::Kind
    std::string summary;                // the summary's title, when one was shown
    // Renamed only after the run: the journal could not record its end.
    std::string journalWarning;

    size_t count(RenameOutcome::Kind kind) const { return counts[static_cast<size_t>(kind)]; }
};

} // namespace morvane
