#pragma once
// A program the hot-key tests start (a bus, an X server, the stand-in portal,
// tsy-hotkey): stopped and waited for with the object.
#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tsyhotkey::test {

class ChildProcess {
public:
    // Starts program with arguments; extra "NAME=VALUE" entries join the
    // environment. Standard output goes to outputPath when given.
    ChildProcess(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment = {},
                 const std::string& outputPath = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool started() const { return pid_ > 0; }
    void signal(int number);
    // The exit status once it ended within the time, else nothing.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Polls condition every 20 ms until it holds or the time is up.
template <typename Condition> bool waitUntil(Condition condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        struct timespec pause {
            0, 20'000'000
        };
        nanosleep(&pause, nullptr);
    }
    return true;
}

// A private session bus (dbus-daemon --session) with its socket in folder,
// stopped with the object; address() is empty when it did not start.
class PrivateSessionBus {
public:
    explicit PrivateSessionBus(const std::string& folder);
    const std::string& address() const { return address_; }

private:
    ChildProcess daemon_;
    std::string address_;
};

// The first line of a file, or nothing.
std::string firstLine(const std::string& path);
// Whether a program of that name is on PATH.
bool onPath(const std::string& program);

} // namespace tsyhotkey::test
