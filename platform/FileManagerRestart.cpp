#include "platform/FileManagerRestart.h"

#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace morvane::FileManagerRestart {
namespace {
// True when a process of this user with that name runs.
bool isRunning(const std::string& process) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != pid.npos)
            continue;
        struct stat info {};
        if (stat(entry.path().c_str(), &info) != 0 || info.st_uid != getuid())
            continue;
        // "PID (NAME) STATE ...": NAME may hold spaces and parentheses.
        std::string stat;
        std::getline(std::ifstream(entry.path() / "stat"), stat);
        const auto open = stat.find('('), close = stat.rfind(')');
        if (open == stat.npos || close == stat.npos || close + 2 >= stat.size())
            continue;
        if (stat.compare(open + 1, close - open - 1, process) == 0 && stat[close + 2] != 'Z')
            return true;
    }
    return false;
}

bool waitUntilGone(const std::string& process, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (isRunning(process)) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
} // namespace

const std::vector<Known>& knownFileManagers() {
    static const std::vector<Known> known = {
        {"nautilus", {"--quit"}, {"--gapplication-service"}},
        {"nemo", {"--quit"}, {"--no-default-window"}},
        {"caja", {"--quit"}, {"--no-default-window"}},
        {"thunar", {"--quit"}, {"--daemon"}},
        {"Thunar", {"--quit"}, {"--daemon"}},
    };
    return known;
}

std::optional<Known> running() {
    for (const Known& manager : knownFileManagers())
        if (isRunning(manager.process))
            return manager;
    return std::nullopt;
}

bool restart(std::chrono::milliseconds quitDelay) {
    const auto manager = running();
    if (!manager) {
        SystemLog::notice("No file manager that can be restarted is running");
        return false;
    }
    if (Workspace::runAndWait(manager->process, manager->quit) != 0) {
        SystemLog::warning("The file manager " + manager->process + " did not quit");
        return false;
    }
    if (!waitUntilGone(manager->process, quitDelay)) {
        SystemLog::warning("The file manager " + manager->process + " is still running");
        return false;
    }
    return Workspace::startDetached(manager->process, manager->start);
}

} // namespace morvane::FileManagerRestart
