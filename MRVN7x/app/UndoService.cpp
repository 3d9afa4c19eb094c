#include "MRVN7x/app/UndoService.h"

#include "platform/FileOperations.h"

namespace morvane {
namespace {
// An undo refused for want of the run lock: another holder, or a lock file
// that cannot be used.
UndoResult lockRefused(const Failure& failure) {
    UndoResult result;
    result.status = failure.code == RunLock::kBusy ? UndoResult::Status::Busy
                                                   : UndoResult::Status::JournalUnwritable;
    result.message = failure.message;
    return result;
}
} // namespace

std::vector<JournalRecord> UndoService::runs() const {
    return RenameJournalReader::list(folder_);
}

std::optional<JournalRecord> UndoService::newestUndoableRun() const {
    return RenameJournalReader::newestUndoable(folder_);
}

UndoResult UndoService::undoNewest() {
    // The choice of run is made under the lock, so a run that is still going
    // on is never taken for an interrupted one.
    auto lock = RunLock::acquire(folder_, "undo", lockWait_);
    if (!lock)
        return lockRefused(lock.failure());
    // The record found is the one undone: a large run's journal is read once.
    const auto newest = newestUndoableRun();
    if (!newest || newest->runId.empty()) {
        UndoResult result;
        result.message = "no run to undo";
        return result;
    }
    return undoLocked(newest->runId, &*newest);
}

UndoResult UndoService::undo(const std::string& runId) {
    auto lock = RunLock::acquire(folder_, "undo of run " + runId, lockWait_);
    if (!lock)
        return lockRefused(lock.failure());
    return undoLocked(runId);
}

UndoResult UndoService::undoLocked(const std::string& runId, const JournalRecord* record) {
    UndoResult result;
    result.runId = runId;
    if (runId.empty() || runId.find('/') != std::string::npos ||
        !FileOperations::exists(folder_ + "/" + runId + ".journal")) {
        result.status = UndoResult::Status::NoSuchRun;
        result.message = "no run " + runId;
        return result;
    }
    UndoOutcome outcome = record ? RenameJournalReader::undo(folder_, *record)
                                 : RenameJournalReader::undo(folder_, runId);
    result.restored = outcome.restored;
    result.problems = std::move(outcome.problems);
    switch (outcome.status) {
    case UndoOutcome::Status::Complete:
        result.status = UndoResult::Status::Complete;
        break;
    case UndoOutcome::Status::Incomplete:
        result.status = UndoResult::Status::Incomplete;
        break;
    case UndoOutcome::Status::NoSuchRun:
        result.status = UndoResult::Status::NoSuchRun;
        break;
    case UndoOutcome::Status::JournalUnwritable:
        result.status = UndoResult::Status::JournalUnwritable;
        break;
    }
    if (!result.problems.empty() && result.problems.front().first.oldPath.empty())
        result.message = result.problems.front().second;
    return result;
}

} // namespace morvane
