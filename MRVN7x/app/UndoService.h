#pragma once
// Undoing rename runs, for every front end (the windows' "Undo Last Rename",
// morvane-cli undo): the runs of the journal folder, the newest that is not
// fully undone, and the undo itself under the run lock.
#include "MRVN7x/engine/RenameJournal.h"
#include "MRVN7x/engine/RunLock.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

struct UndoResult {
    enum class Status {
        Complete,         // everything the run did is undone
        Incomplete,       // some items could not be restored (problems)
        NothingToUndo,    // no run is left to undo
        NoSuchRun,        // the named run has no journal
        Busy,             // another run or undo holds the lock; nothing moved
        JournalUnwritable // the journal cannot record the undo; nothing moved
    };
    Status status = Status::NothingToUndo;
    std::string runId;
    size_t restored = 0;
    // What could not be restored and why; a problem of the run as a whole has
    // empty paths.
    std::vector<std::pair<JournalPair, std::string>> problems;
    std::string message; // for Busy, NoSuchRun, JournalUnwritable
};

class UndoService {
public:
    explicit UndoService(std::string folder = RenameJournal::defaultFolder(),
                         std::chrono::milliseconds lockWait = RunLock::kDefaultWait)
        : folder_(std::move(folder)), lockWait_(lockWait) {}

    // Every run with a journal, oldest first (damaged ones included).
    std::vector<JournalRecord> runs() const;
    // The newest run that may still have something to undo.
    std::optional<JournalRecord> newestUndoableRun() const;
    bool canUndo() const { return newestUndoableRun().has_value(); }

    UndoResult undoNewest();
    UndoResult undo(const std::string& runId);

private:
    // record: the run's journal when it was just read (it is not read again).
    UndoResult undoLocked(const std::string& runId, const JournalRecord* record = nullptr);

    std::string folder_;
    std::chrono::milliseconds lockWait_;
};

} // namespace morvane
