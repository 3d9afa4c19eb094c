#pragma once
// Runs the built morvane-cli as a user would: a separate process with its own
// home and XDG folders inside a temporary folder, its working folder there too.
#include "tests/support/TempDir.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace morvane::test {

struct CliResult {
    int status = -1;      // the exit status; -1 when the process did not exit normally
    std::string out, err; // standard output and standard error
};

class CliHome {
public:
    CliHome();

    // Where the files of a test go (the process's working folder).
    const std::string& work() const { return work_; }
    std::string operator/(const std::string& name) const { return work_ + "/" + name; }
    // The home's XDG folders, as the process sees them.
    std::string configHome() const { return root_ / "home/.config"; }
    std::string journalFolder() const { return root_ / "home/.local/state/morvane/runs"; }

    // Runs morvane-cli with args, input on its standard input, and waits for it.
    CliResult run(const std::vector<std::string>& args, const std::string& input = "") const;
    // The same with standard error on a pseudo-terminal (what a user at a
    // terminal sees there goes to err).
    CliResult runWithTerminal(const std::vector<std::string>& args) const;
    // Runs morvane-cli with its standard input open: whenever standard error
    // ends in a question ("? "), reply gets all of standard error so far and
    // the process, and gives the line to answer (the test may change the disk
    // or the process's limits first).
    using Reply = std::function<std::string(const std::string& err, pid_t process)>;
    CliResult converse(const std::vector<std::string>& args, const Reply& reply) const;
    // Starts morvane-cli with its output thrown away; the caller waits for it.
    pid_t start(const std::vector<std::string>& args) const;

    // Added to the environment of the processes started from now on
    // ("MORVANE_TEST_KILL_AFTER_RENAMES=3").
    std::vector<std::string> extraEnvironment;
    // A file-size limit in bytes for the processes (0: none); writes beyond it
    // fail with EFBIG instead of raising SIGXFSZ.
    long fileSizeLimit = 0;
    // The processes are held to the permissions of files and folders even
    // when the tests run as root (the capabilities that override them are
    // dropped), so a folder without write permission is read-only to them.
    bool withoutOverride = false;

private:
    std::vector<std::string> environment() const;

    TempDir root_{"cli"};
    std::string work_;
};

// True when processes started withoutOverride cannot write into a folder
// without write permission (false where root cannot give up its override).
bool permissionsBindProcesses();

// The exit status of a started process after waitpid; -1 for a killed one.
int waitForExit(pid_t pid, bool* killed = nullptr);

// Names of the entries of a folder, sorted.
std::vector<std::string> folderNames(const std::string& folder);

} // namespace morvane::test
