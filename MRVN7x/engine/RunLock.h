#pragma once
// One rename run or undo at a time per user: an exclusive flock on a file in
// the journal folder. The lock dies with its process; the file holds a line
// naming the holder, so a refused run can say which run is in the way.
#include <chrono>
#include <optional>
#include <string>

namespace morvane {

class RunLock {
public:
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    // Takes the lock in folder (made if need be), waiting up to wait for a
    // holder to finish. description says what this process is doing ("rename
    // of 20 items"). Nothing on failure, with the reason in error: the holder
    // named, or why the lock file could not be used (then busy is false).
    static std::optional<RunLock> acquire(const std::string& folder, const std::string& description,
                                          std::chrono::milliseconds wait, std::string& error,
                                          bool* busy = nullptr);
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
