#pragma once
// A crash-safe record of one rename run, from which the run can be undone.
//
// Before the first rename the whole plan (every pair, in rename order, with
// full old and new paths) is written to a new journal file and flushed to
// disk once. After each rename a small done-record is appended with a plain
// write: it survives a killed process, and no fsync per rename is paid. Where
// the done-records lag behind the disk (power loss), undo decides from what is
// on disk: the new path present and the old path absent.
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

    // Writes the plan of a new run and opens it for done-records. Nothing on failure.
    static std::optional<RenameJournal> create(const std::string& folder,
                                               const std::vector<JournalPair>& plan);
    RenameJournal(RenameJournal&& other) noexcept;
    RenameJournal& operator=(RenameJournal&& other) noexcept;
    RenameJournal(const RenameJournal&) = delete;
    ~RenameJournal();

    const std::string& runId() const { return runId_; }
    const std::string& path() const { return path_; }
    // Records that pair index was renamed.
    void markDone(size_t index);

private:
    RenameJournal(std::string runId, std::string path, int fd);
    std::string runId_;
    std::string path_;
    int fd_ = -1;
};

// What a journal file says about its run.
struct JournalRecord {
    std::string runId;
    std::int64_t created = 0; // seconds since 1970
    std::vector<JournalPair> pairs;
    std::vector<bool> done;
    std::vector<bool> undone;
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
