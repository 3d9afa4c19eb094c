#include "platform/Workspace.h"

#include "platform/Bundle.h"
#include "platform/SystemLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morvane::Workspace {
namespace {
std::vector<char*> argumentVector(const std::string& program,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments) {
    auto argv = argumentVector(program, arguments);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        SystemLog::warning("Could not start " + program + ": " + std::strerror(error));
        return -1;
    }
    return pid;
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string besideRunningProgram(const std::string& name) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (program.parent_path() / name).string();
}
} // namespace

int runAndWait(const std::string& program, const std::vector<std::string>& arguments) {
    const pid_t pid = spawn(program, arguments);
    return pid < 0 ? -1 : waitForExit(pid);
}

// What this program blocks or ignores for itself (the hot-key program takes
// its signals through a descriptor) is not the started program's business.
static void startWithDefaultSignals() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int number = 1; number < NSIG; ++number)
        sigaction(number, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
}

bool startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    // A short-lived child starts the program in its own session and exits at
    // once, so the program is never our child and leaves no zombie behind. A
    // close-on-exec pipe carries the errno of a failed exec back.
    auto argv = argumentVector(program, arguments);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild < 0)
            _exit(1);
        if (grandchild == 0) {
            startWithDefaultSignals();
            const int null = open("/dev/null", O_RDWR);
            for (int fd = 0; fd <= 2 && null >= 0; ++fd)
                dup2(null, fd);
            execvp(argv[0], argv.data());
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(report[1]);
    int error = 0;
    const bool started = child > 0 && waitForExit(child) == 0 &&
                         read(report[0], &error, sizeof error) != sizeof error;
    close(report[0]);
    if (!started)
        SystemLog::warning("Could not start " + program +
                           (error ? std::string(": ") + std::strerror(error) : std::string()));
    return started;
}

bool launchApplication(const std::string& bundlePath) {
    return startDetached(Bundle::executablePath(bundlePath), {});
}

bool terminateApplication(const std::string& bundlePath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path contents = fs::weakly_canonical(fs::path(bundlePath) / "Contents", error);
    if (error)
        return false;
    const std::string inside = contents.string() + "/";
    fs::directory_iterator processes("/proc", error);
    if (error)
        return false;
    for (const auto& entry : processes) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code unreadable; // another user's process, or one that ended
        const fs::path program = fs::read_symlink(entry.path() / "exe", unreadable);
        if (!unreadable && program.string().starts_with(inside))
            kill(static_cast<pid_t>(std::stol(name)), SIGTERM);
    }
    return true;
}

bool openFile(const std::string& path) {
    if (access(path.c_str(), F_OK) != 0) {
        SystemLog::notice("Cannot open " + path + ": it does not exist");
        return false;
    }
    if (std::filesystem::path(path).extension() == ".prefPane") {
        const std::string host = besideRunningProgram("tessary-preferences");
        if (host.empty() || access(host.c_str(), X_OK) != 0) {
            SystemLog::notice("Cannot open the preference pane " + path +
                              ": the preferences host tessary-preferences is not installed");
            return false;
        }
        return startDetached(host, {path});
    }
    return runAndWait("xdg-open", {path}) == 0;
}

} // namespace morvane::Workspace
