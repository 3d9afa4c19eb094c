#pragma once
// A crash-safe record of one rename run, from which the run can be undone.
//
// Before the first rename the whole plan (every pair, in rename order, with
// full old and new paths) is written to a new journal file with one "not
// done" mark per pair, and flushed to disk once. After each rename its mark is
// set in a shared mapping of the file: the page cache has it at once, so it
// survives a killed process, and neither an fsync nor a system call is paid
// per rename. Where the marks lag behind the disk (power loss), undo decides
// from what is on disk: the new path present, the old path absent, and the
// item at the new path changed since the run began (a rename changes its
// status time), so an older item that merely holds the planned name is never
// moved. Records appended after the marks say where a pair went when a dialog
// changed its name ("done-at"), which pairs were undone, and that the run ended.
//
// Journals live in ${XDG_STATE_HOME:-~/.local/state}/morvane/runs/RUN.journal.
// Paths are stored with their lengths, so any byte may appear in them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

struct JournalPair {
    std::string oldPath;
    std::string newPath;
};

class RenameJournal {
public:
    static std::string defaultFolder();

    // Writes the plan of a new run and opens it for its marks. Nothing on failure.
    static std::optional<RenameJournal> create(const std::string& folder,
                                               const std::vector<JournalPair>& plan);
    // The same for pairs given as two lists of equal length (no copies of a large plan).
    static std::optional<RenameJournal> create(const std::string& folder,
                                               const std::vector<std::string>& oldPaths,
                                               const std::vector<std::string>& newPaths);
    RenameJournal(RenameJournal&& other) noexcept;
    RenameJournal& operator=(RenameJournal&& other) noexcept;
    RenameJournal(const RenameJournal&) = delete;
    ~RenameJournal();

    const std::string& runId() const { return runId_; }
    const std::string& path() const { return path_; }
    // Records that pair index was renamed as planned.
    void markDone(size_t index);
    // Records that pair index was renamed, to newPath instead of the planned path.
    void markDoneAt(size_t index, const std::string& newPath);
    // Records that the run came to its end (a run without it was interrupted).
    void markEnd();

private:
    RenameJournal(std::string runId, std::string path, int fd);
    void mapMarks(size_t offset, size_t count);
    void release();

    std::string runId_;
    std::string path_;
    int fd_ = -1;
    char* mapping_ = nullptr; // the pages that hold the marks
    size_t mappingLength_ = 0;
    char* marks_ = nullptr; // one byte per pair within the mapping
    size_t marksOffset_ = 0;
    size_t markCount_ = 0;
};

// What a journal file says about its run.
struct JournalRecord {
    std::string runId;
    std::int64_t created = 0; // seconds since 1970
    std::vector<JournalPair> pairs;
    std::vector<bool> done;
    std::vector<bool> undone;
    bool ended = false; // the run came to its end
    bool isUndone() const;
    size_t doneCount() const;
};

struct UndoOutcome {
    size_t restored = 0;
    // Pairs that could not be restored, with the reason.
    std::vector<std::pair<JournalPair, std::string>> problems;
};

class RenameJournalReader {
public:
    // Runs in the folder, oldest first. Damaged journals are left out.
    static std::vector<JournalRecord> list(const std::string& folder);
    static std::optional<JournalRecord> read(const std::string& journalPath);
    // Reverses the renames of the run, newest first, never replacing anything.
    static UndoOutcome undo(const std::string& folder, const std::string& runId);
};

} // namespace morvane
