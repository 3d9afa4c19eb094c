#include "MRVN7x/engine/RunLock.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace morvane {
namespace {

// Sets errno when it fails, also for something other than a folder in the
// way: the caller's message names the cause.
bool makeFolders(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        errno = ENOTDIR;
        return false;
    }
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string holderOf(int fd) {
    char buffer[512] = {};
    const ssize_t n = pread(fd, buffer, sizeof buffer - 1, 0);
    std::string text(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.empty() ? "another process" : text;
}

void nameHolder(int fd, const std::string& description) {
    char when[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    const std::string text =
        "process " + std::to_string(getpid()) + " (" + description + ", since " + when + ")\n";
    if (ftruncate(fd, 0) == 0)
        (void)pwrite(fd, text.data(), text.size(), 0);
}

} // namespace

std::string RunLock::lockPath(const std::string& folder) {
    return folder + "/run.lock";
}

Result<RunLock> RunLock::acquire(const std::string& folder, const std::string& description,
                                 std::chrono::milliseconds wait) {
    const std::string path = lockPath(folder);
    const int fd = makeFolders(folder)
                       ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)
                       : -1;
    if (fd < 0) {
        const int code = errno;
        return Failure{code, "cannot use the run lock " + path + ": " + std::strerror(code)};
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        if (code != EWOULDBLOCK && code != EINTR) {
            ::close(fd);
            return Failure{code, "cannot take the run lock " + path + ": " + std::strerror(code)};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            Failure busy{kBusy, "another rename or undo is running: " + holderOf(fd) +
                                    "; try again when it has finished"};
            ::close(fd);
            return busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    nameHolder(fd, description);
    return RunLock(fd);
}

RunLock::RunLock(RunLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

RunLock& RunLock::operator=(RunLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

RunLock::~RunLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace morvane
