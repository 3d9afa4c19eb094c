#include "HotKey/PidFile.h"

#include "platform/SystemLog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsyhotkey {
namespace {

std::string displayKey() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    std::string key = wayland && wayland[0] ? wayland : x11 && x11[0] ? x11 : "none";
    for (char& c : key)
        if (c == '/')
            c = '_';
    return key;
}

// A folder of our own for the pid file when the session has no runtime folder.
std::string fallbackFolder() {
    std::string folder = "/tmp/tsy-hotkey-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 077) != 0)
        return {};
    return folder;
}

pid_t readPid(int fd) {
    char text[32] = {};
    ssize_t count = pread(fd, text, sizeof text - 1, 0);
    return count > 0 ? static_cast<pid_t>(std::atol(text)) : 0;
}

} // namespace

std::string PidFile::defaultPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = runtime && runtime[0] == '/' ? runtime : fallbackFolder();
    if (folder.empty())
        return {};
    return folder + "/tsy-hotkey." + displayKey() + ".pid";
}

PidFile::Result PidFile::acquire(const std::string& path, pid_t& holder) {
    holder = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            morvane::SystemLog::error("Cannot open the pid file " + path + ": " +
                                      std::strerror(errno));
            return Result::Failed;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            holder = readPid(fd);
            close(fd);
            return Result::AlreadyRunning;
        }
        // The previous holder may have removed the file between our open and lock.
        struct stat opened {
        }, named{};
        if (fstat(fd, &opened) != 0 || stat(path.c_str(), &named) != 0 ||
            opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
            close(fd);
            continue;
        }
        const std::string text = std::to_string(getpid()) + "\n";
        if (ftruncate(fd, 0) != 0 ||
            pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
            morvane::SystemLog::error("Cannot write the pid file " + path);
            close(fd);
            return Result::Failed;
        }
        path_ = path;
        fd_ = fd;
        return Result::Acquired;
    }
    return Result::Failed;
}

void PidFile::release() {
    if (fd_ < 0)
        return;
    unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
}

} // namespace tsyhotkey
