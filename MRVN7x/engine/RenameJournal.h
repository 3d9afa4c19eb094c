#pragma once
// A crash-safe record of one rename run, from which the run can be undone.
//
// Before the first rename the whole plan is written to a new journal file
// (aside, flushed with its folder, then moved into place): every step in
// rename order with its full paths and the identity (device, inode, type) of
// the item it moves, and one "not done" mark per step. A pair that breaks a
// cycle has two steps (to a temporary name and on from it); a change of case
// is one step marked as passing the case-change temporary name. After each
// rename its mark is set in a shared mapping of the file: the page cache has it
// at once, so it survives a killed process, and a rename costs neither an
// fsync nor a system call. A name chosen in a dialog is appended and flushed
// before its rename ("edit"); undo appends "undone" per step it reverses and
// "undo-complete" when nothing is left; "end" says the run came to its end.
//
// Undo walks the steps newest first and decides each from the disk: an item is
// moved back only when the item found at the step's target (or at the
// temporary name it passes) is the very item the plan recorded. Marks only say
// which steps to report when their item cannot be found, so a power loss that
// took the marks loses nothing, and a rerun of an interrupted undo finds the
// items it already moved at home.
//
// Journals live in ${XDG_STATE_HOME:-~/.local/state}/morvane/runs/RUN.journal
// and are ordered by the sequence number each holds. The caller holds the run
// lock (RunLock) while it creates a journal or undoes a run. Paths are stored
// with their lengths, so any byte may appear in them.
#include "platform/FileOperations.h"
#include "platform/Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct JournalPair {
    std::string oldPath;
    std::string newPath;
};

enum class JournalStepKind : char {
    Whole = 'w',        // from -> to
    CaseChange = 'c',   // from -> to, possibly through the case-change temporary name
    ToTemporary = 't',  // first half of a broken cycle
    FromTemporary = 'f' // second half
};

// One step as the run plans it or a journal says it; the texts belong to the
// caller, or to the record that was read.
struct JournalStepView {
    std::string_view from, to;
    ItemIdentity identity;
    JournalStepKind kind = JournalStepKind::Whole;
};

// The same with texts of its own.
struct JournalStep {
    std::string from, to;
    ItemIdentity identity;
    JournalStepKind kind = JournalStepKind::Whole;
};

class RenameJournal {
public:
    static std::string defaultFolder();
    // The temporary name a change of case passes, in the folder of path.
    static std::string caseChangeTemporaryPath(std::string_view path);

    // Writes the plan of a new run, flushed with its folder, and opens it for
    // its marks; removes the temporary plan files of runs that died while
    // writing theirs.
    static Result<RenameJournal> create(const std::string& folder,
                                        const std::vector<JournalStepView>& steps);
    // The same for steps made one at a time (no copy of a large plan); a step
    // may keep a text it points at in scratch until the next call.
    using StepSource = std::function<JournalStepView(size_t index, std::string& scratch)>;
    static Result<RenameJournal> create(const std::string& folder, size_t count,
                                        const StepSource& step);
    RenameJournal(RenameJournal&& other) noexcept;
    RenameJournal& operator=(RenameJournal&& other) noexcept;
    RenameJournal(const RenameJournal&) = delete;
    ~RenameJournal();

    const std::string& runId() const { return runId_; }
    const std::string& path() const { return path_; }
    std::uint64_t sequence() const { return sequence_; }
    // Records that step index was done.
    void markDone(size_t index);
    // Before the rename: step index goes to newPath instead (through the
    // case-change temporary name when caseChange). Written and flushed; a
    // failure (with its errno) means the rename must not happen.
    Result<void> recordEdit(size_t index, const std::string& newPath, bool caseChange);
    // Records that the run came to its end, with the number of steps done: a
    // run that ended having done nothing needs no undo, whatever its marks say.
    bool markEnd();

private:
    RenameJournal(std::string runId, std::string path, int fd, std::uint64_t sequence);
    void mapMarks(size_t offset, size_t count);
    void release();

    std::string runId_;
    std::string path_;
    int fd_ = -1;
    std::uint64_t sequence_ = 0;
    char* mapping_ = nullptr; // the pages that hold the marks
    size_t mappingLength_ = 0;
    char* marks_ = nullptr; // one byte per step within the mapping
    size_t marksOffset_ = 0;
    size_t markCount_ = 0;
    size_t doneCount_ = 0;
};

// What a journal file says about its run.
struct JournalRecord {
    std::string runId;
    std::uint64_t sequence = 0;
    std::int64_t created = 0; // seconds since 1970
    // The journal as it was read: the steps' paths are views into it, so a
    // run of a million steps is held once, not again as a text per path.
    std::shared_ptr<const std::string> text;
    std::vector<JournalStepView> steps; // with the edits applied
    std::vector<bool> done;
    std::vector<bool> undone;
    bool ended = false; // the run came to its end
    bool endedWithNothingDone = false;
    bool undoComplete = false; // an undo restored everything
    bool damaged = false;      // only the steps before the damage could be read
    std::string damage;        // what is wrong
    size_t plannedSteps = 0;   // the number of steps the plan announced

    size_t pairCount() const;
    // Pairs whose rename is recorded as done.
    size_t doneCount() const;
    bool someUndone() const;
    // The run may have renamed something that is not undone yet. A run that
    // ended with no step done renamed nothing (its end is flushed after its
    // marks); a damaged journal is undone only when named.
    bool mayNeedUndo() const;
    std::string state() const; // "done", "interrupted", "partly undone", "undone", "damaged"
};

struct UndoOutcome {
    enum class Status {
        Complete,   // everything the run did is undone
        Incomplete, // problems are listed; a later undo may finish it
        NoSuchRun,
        JournalUnwritable // nothing was moved
    };
    Status status = Status::Complete;
    size_t restored = 0;
    // What could not be restored, with the reason (paths empty for the run as a whole).
    std::vector<std::pair<JournalPair, std::string>> problems;
};

class RenameJournalReader {
public:
    // Runs in the folder, oldest first by sequence; damaged journals included.
    static std::vector<JournalRecord> list(const std::string& folder);
    // The newest run that may need undo (JournalRecord::mayNeedUndo), if any.
    // Journals are read newest first and only until one is found; a journal
    // whose last record says it was undone is not read at all, so a long
    // history costs little.
    static std::optional<JournalRecord> newestUndoable(const std::string& folder);
    // Nothing only when the file cannot be read at all.
    static std::optional<JournalRecord> read(const std::string& journalPath);
    // Reverses what the run did, newest step first, never replacing anything.
    static UndoOutcome undo(const std::string& folder, const std::string& runId);
    // The same for a run whose journal in folder was just read.
    static UndoOutcome undo(const std::string& folder, const JournalRecord& record);
};

} // namespace morvane
