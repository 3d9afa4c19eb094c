#pragma once
// Follows a rename run pair by pair: the command line reports outcomes
// through it. Every call comes on the main thread.
#include "MRVN7x/engine/RenameJournal.h"
#include "MRVN7x/engine/RenameOptimizer.h"

#include <string_view>
#include <vector>

namespace morvane {

// A pair's outcome as the run hands it over. Its texts belong to the run and
// last for the call only: an observer that keeps them copies them (most
// observers keep few or none, and a run of a million pairs copies nothing).
struct RenameOutcome {
    enum class Kind { Renamed, Unchanged, SkippedExisting, Skipped, Failed, NotReached };
    Kind kind = Kind::NotReached;
    std::string_view oldPath;
    std::string_view newPath; // the path the item has or would have had
    std::string_view reason;  // for Failed: why, in one line
    std::string_view error;   // for Failed: the errno's name ("EACCES"); empty for a name rule
};

class RenameRunObserver {
public:
    virtual ~RenameRunObserver() = default;
    // The ordered plan, before the first rename; it stays valid until the run
    // ends. False stops the run there: nothing is renamed and no summary shown.
    virtual bool runPlanned(const RenameOptimizer& plan) {
        (void)plan;
        return true;
    }
    // Items of the plan would get the same new path (the preview's rule, over
    // the whole list): true goes ahead. Asked before the journal is written.
    virtual bool goAheadDespiteConflicts(const std::vector<JournalPair>& colliding) {
        (void)colliding;
        return false;
    }
    // Right after an item was renamed on disk, to newPath; asPlanned is false
    // when a dialog changed the new name of the plan.
    virtual void pairRenamed(size_t index, const std::string& newPath, bool asPlanned) {
        (void)index;
        (void)newPath;
        (void)asPlanned;
    }
    // Once for every pair of the plan, when its last step is over (in plan
    // order, except that a pair breaking a cycle finishes with its cycle); the
    // outcome's texts last for the call.
    virtual void pairFinished(size_t index, const RenameOutcome& outcome) {
        (void)index;
        (void)outcome;
    }
};

} // namespace morvane
