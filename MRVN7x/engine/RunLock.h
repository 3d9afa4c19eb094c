#pragma once
// One rename run or undo at a time per user: an exclusive flock on a file in
// the journal folder. The lock dies with its process; the file holds a line
// naming the holder, so a refused run can say which run is in the way.
#include "platform/Result.h"

#include <cerrno>
#include <chrono>
#include <string>

namespace morvane {

class RunLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{5000};
    // The code of the failure "another process holds the lock".
    static constexpr int kBusy = EWOULDBLOCK;

    // Takes the lock in folder (made if need be), waiting up to wait for a
    // holder to finish. description says what this process is doing ("rename
    // of 20 items"). A failure is either busy (code kBusy, the message names
    // the holder) or says why the lock file could not be used (code: the
    // errno of the call that failed).
    static Result<RunLock> acquire(const std::string& folder, const std::string& description,
                                   std::chrono::milliseconds wait);
    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&& other) noexcept;
    RunLock(const RunLock&) = delete;
    ~RunLock();

    static std::string lockPath(const std::string& folder);

private:
    explicit RunLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace morvane
