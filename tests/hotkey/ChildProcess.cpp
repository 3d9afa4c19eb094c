#include "tests/hotkey/ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tsyhotkey::test {

ChildProcess::ChildProcess(const std::vector<std::string>& command,
                           const std::vector<std::string>& environment,
                           const std::string& outputPath) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry)
        variables.emplace_back(*entry);
    for (const std::string& extra : environment) {
        const std::string name = extra.substr(0, extra.find('=') + 1);
        std::erase_if(variables, [&](const std::string& v) { return v.starts_with(name); });
        if (extra.back() != '=')
            variables.push_back(extra);
    }
    std::vector<char*> argv, envp;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (const std::string& variable : variables)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputPath.empty())
        posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    if (pid_ <= 0 || status_)
        return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

void ChildProcess::signal(int number) {
    if (pid_ > 0 && !status_)
        kill(pid_, number);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit) {
    if (status_ || pid_ <= 0)
        return status_;
    waitUntil(
        [&] {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_.has_value();
        },
        limit);
    return status_;
}

PrivateSessionBus::PrivateSessionBus(const std::string& folder)
    : daemon_({"dbus-daemon", "--session", "--nofork", "--print-address=1",
               "--address=unix:dir=" + folder},
              {}, folder + "/bus-address") {
    using namespace std::chrono_literals;
    waitUntil([&] { return !firstLine(folder + "/bus-address").empty(); }, 10s);
    address_ = firstLine(folder + "/bus-address");
}

std::string firstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace tsyhotkey::test
