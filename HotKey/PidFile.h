#pragma once
// One hot-key program per user and display. The pid file
// ${XDG_RUNTIME_DIR}/tsy-hotkey.DISPLAY.pid (DISPLAY: $WAYLAND_DISPLAY, else
// $DISPLAY, '/' written as '_') holds the running program's pid, and the
// program holds an exclusive lock (flock) on it for its whole life: a second
// start finds the lock taken and leaves; quitHotKey.sh signals only the pid of
// a file whose lock is held. The file is removed, still locked, at the end.
#include <string>
#include <sys/types.h>

namespace tsyhotkey {

class PidFile {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    PidFile() = default;
    ~PidFile() { release(); }
    PidFile(const PidFile&) = delete;
    PidFile& operator=(const PidFile&) = delete;

    // The pid file of this user and display (without XDG_RUNTIME_DIR: a 0700
    // folder /tmp/tsy-hotkey-UID of our own).
    static std::string defaultPath();

    // Takes the lock and writes our pid; on AlreadyRunning, holder is the
    // running program's pid (0 if unreadable).
    Result acquire(const std::string& path, pid_t& holder);
    // Removes the file and drops the lock.
    void release();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

} // namespace tsyhotkey
