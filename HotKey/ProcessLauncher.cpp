#include "HotKey/ProcessLauncher.h"

#include "platform/PlistValue.h"
#include "platform/SystemLog.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace tsyhotkey::ProcessLauncher {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> bundleExecutableName(const std::string& bundle) {
    std::ifstream file(bundle + "/Contents/Info.plist", std::ios::binary);
    if (!file)
        return std::nullopt;
    std::stringstream text;
    text << file.rdbuf();
    auto value = morvane::plist::fromXml(text.str());
    if (!value || !value->asDictionary())
        return std::nullopt;
    const morvane::plist::Value* name =
        morvane::plist::find(*value->asDictionary(), "CFBundleExecutable");
    if (!name || !name->asString() || name->asString()->empty() ||
        name->asString()->find('/') != std::string::npos)
        return std::nullopt;
    return *name->asString();
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
    const std::string bin = applicationPath + "/Contents/bin";
    auto name = bundleExecutableName(applicationPath);
    if (!name)
        name = onlyFileIn(bin);
    if (!name || !isExecutableFile(bin + "/" + *name))
        return std::nullopt;
    return bin + "/" + *name;
}

bool launch(const std::string& applicationPath, const std::vector<std::string>& arguments) {
    auto program = programOf(applicationPath);
    if (!program) {
        morvane::SystemLog::warning("No program to start in " + applicationPath);
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program->c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int status =
        posix_spawn(&pid, program->c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (status != 0) {
        morvane::SystemLog::warning("Could not start " + *program + ": " + std::strerror(status));
        return false;
    }
    return true;
}

} // namespace tsyhotkey::ProcessLauncher
