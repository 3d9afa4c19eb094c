#include "HotKey/ProcessLauncher.h"

#include "platform/Bundle.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsyhotkey::ProcessLauncher {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The only file in the folder, when there is exactly one.
std::optional<std::string> onlyFileIn(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> only;
    int count = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        ++count;
        only = entry->d_name;
    }
    closedir(dir);
    return count == 1 ? only : std::nullopt;
}

} // namespace

std::optional<std::string> programOf(const std::string& applicationPath) {
    if (isExecutableFile(applicationPath))
        return applicationPath;
    const std::string named = morvane::Bundle::executablePath(applicationPath);
    if (isExecutableFile(named))
        return named;
    // A bundle whose Info.plist names no program it has: its only program.
    const std::string bin = applicationPath + "/Contents/bin";
    const auto only = onlyFileIn(bin);
    if (only && isExecutableFile(bin + "/" + *only))
        return bin + "/" + *only;
    return std::nullopt;
}

bool launch(const std::string& applicationPath, const std::vector<std::string>& arguments) {
    const auto program = programOf(applicationPath);
    if (!program) {
        morvane::SystemLog::warning("No program to start in " + applicationPath);
        return false;
    }
    return morvane::Workspace::startDetached(*program, arguments);
}

} // namespace tsyhotkey::ProcessLauncher
