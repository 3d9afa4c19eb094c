#include "tests/cli/CliProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace morvane::test {

namespace {

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// Drops the capabilities that let root ignore file permissions from the
// bounding set: the program executed next has none of them, even as root.
void dropOverride() {
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
}

// Everything the child needs, made before fork (only async-signal-safe calls after it).
struct ChildSetup {
    std::vector<std::string> argv, envp;
    std::vector<char*> argvPointers, envpPointers;
    std::string folder;
    long fileSizeLimit = 0;
    bool withoutOverride = false;
    ChildSetup(const std::vector<std::string>& args, std::vector<std::string> env, std::string cwd,
               long limit = 0, bool noOverride = false)
        : envp(std::move(env)), folder(std::move(cwd)), fileSizeLimit(limit),
          withoutOverride(noOverride) {
        argv.push_back(MORVANE_CLI);
        argv.insert(argv.end(), args.begin(), args.end());
        argvPointers = pointers(argv);
        envpPointers = pointers(envp);
    }
    [[noreturn]] void exec(int in, int out, int err) const {
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        for (int fd = 3; fd < 64; ++fd)
            close(fd);
        if (fileSizeLimit > 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit),
                               static_cast<rlim_t>(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (withoutOverride)
            dropOverride();
        if (chdir(folder.c_str()) == 0)
            execve(argvPointers[0], argvPointers.data(), envpPointers.data());
        _exit(127);
    }
};

// Reads both descriptors until each reports its end (EOF, or EIO on a pseudo-terminal).
void drain(int outFd, std::string& out, int errFd, std::string& err) {
    struct pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* targets[2] = {&out, &err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                targets[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

void writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

// A child started with its standard streams on pipes: the parent's ends.
struct PipedChild {
    pid_t pid;
    int in, out, err;
};

std::optional<PipedChild> startPiped(const ChildSetup& setup) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t pid = fork();
    if (pid == 0)
        setup.exec(in[0], out[1], err[1]);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // A child that stops reading early must not kill the test with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    return PipedChild{pid, in[1], out[0], err[0]};
}
} // namespace

CliHome::CliHome() : work_(root_.makeFolder("work")) {
    root_.makeFolder("home");
    root_.makeFolder("tmp");
}

std::vector<std::string> CliHome::environment() const {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_", 0) != 0 &&
            entry.rfind("TMPDIR=", 0) != 0)
            env.push_back(entry);
    }
    const std::string home = root_ / "home";
    env.push_back("HOME=" + home);
    env.push_back("XDG_CONFIG_HOME=" + home + "/.config");
    env.push_back("XDG_DATA_HOME=" + home + "/.local/share");
    env.push_back("XDG_STATE_HOME=" + home + "/.local/state");
    // Temporary folders of the process (a killed one leaves its own) stay in the test's folder.
    env.push_back("TMPDIR=" + (root_ / "tmp"));
    env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
    return env;
}

CliResult CliHome::run(const std::vector<std::string>& args, const std::string& input) const {
    const auto child =
        startPiped(ChildSetup(args, environment(), work_, fileSizeLimit, withoutOverride));
    if (!child)
        return {};
    writeAll(child->in, input);
    close(child->in);
    CliResult result;
    drain(child->out, result.out, child->err, result.err);
    close(child->out);
    close(child->err);
    result.status = child->pid > 0 ? waitForExit(child->pid) : -1;
    return result;
}

CliResult CliHome::runWithTerminal(const std::vector<std::string>& args) const {
    const ChildSetup setup(args, environment(), work_, fileSizeLimit, withoutOverride);
    int master = -1, slave = -1, out[2];
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0 || pipe2(out, O_CLOEXEC) != 0)
        return {};
    const int devNull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = fork();
    if (pid == 0)
        setup.exec(devNull, out[1], slave);
    close(slave);
    close(out[1]);
    close(devNull);
    CliResult result;
    drain(out[0], result.out, master, result.err);
    close(out[0]);
    close(master);
    result.status = pid > 0 ? waitForExit(pid) : -1;
    return result;
}

CliResult CliHome::converse(const std::vector<std::string>& args, const Reply& reply) const {
    const auto child =
        startPiped(ChildSetup(args, environment(), work_, fileSizeLimit, withoutOverride));
    if (!child)
        return {};
    CliResult result;
    size_t answered = 0; // standard error up to the last question answered
    struct pollfd fds[2] = {{child->out, POLLIN, 0}, {child->err, POLLIN, 0}};
    std::string* targets[2] = {&result.out, &result.err};
    for (int open = 2; open > 0;) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                targets[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
        const std::string& e = result.err;
        if (e.size() > answered && e.size() >= 2 && e.compare(e.size() - 2, 2, "? ") == 0) {
            answered = e.size();
            writeAll(child->in, reply(e, child->pid) + "\n");
        }
    }
    close(child->in);
    close(child->out);
    close(child->err);
    result.status = child->pid > 0 ? waitForExit(child->pid) : -1;
    return result;
}

bool permissionsBindProcesses() {
    char folder[] = "/tmp/morvane-permissions-XXXXXX";
    if (!mkdtemp(folder))
        return false;
    chmod(folder, 0555);
    const pid_t pid = fork();
    if (pid == 0) {
        dropOverride();
        // The capability sets of this process follow the bounding set only at
        // an exec, so the check runs in a program started after the drop.
        execl("/bin/sh", "sh", "-c", "exec 2>/dev/null; ! true >\"$0/probe\"", folder,
              static_cast<char*>(nullptr));
        _exit(127);
    }
    const bool bound = pid > 0 && waitForExit(pid) == 0;
    unlink((std::string(folder) + "/probe").c_str());
    rmdir(folder);
    return bound;
}

pid_t CliHome::start(const std::vector<std::string>& args) const {
    const ChildSetup setup(args, environment(), work_, fileSizeLimit, withoutOverride);
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = fork();
    if (pid == 0)
        setup.exec(devNull, devNull, devNull);
    close(devNull);
    return pid;
}

int waitForExit(pid_t pid, bool* killed) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (killed)
        *killed = WIFSIGNALED(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace morvane::test
