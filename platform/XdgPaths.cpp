#include "platform/XdgPaths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane::XdgPaths {
namespace {
// An XDG variable counts only when it holds an absolute path.
std::string fromEnvironment(const char* variable, const char* fallbackBelowHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    return home() + fallbackBelowHome;
}
} // namespace

std::string home() {
    if (const char* value = std::getenv("HOME"); value && value[0])
        return value;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::string configHome() {
    return fromEnvironment("XDG_CONFIG_HOME", "/.config");
}
std::string dataHome() {
    return fromEnvironment("XDG_DATA_HOME", "/.local/share");
}
std::string stateHome() {
    return fromEnvironment("XDG_STATE_HOME", "/.local/state");
}

std::string expandTilde(const std::string& path) {
    if (path == "~" || path.starts_with("~/"))
        return home() + path.substr(1);
    return path;
}

std::string libraryPath(const std::string& path) {
    struct Mapping {
        const char* library;
        const char* belowDataHome;
    };
    static const Mapping mappings[] = {
        {"~/Library/Application Support", ""},
        {"~/Library/PreferencePanes", "/Ossvale/PreferencePanes"},
        {"~/Library/Contextual Menu Items", "/Ossvale/Contextual Menu Items"},
    };
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    for (const Mapping& m : mappings) {
        const std::string library = m.library;
        if (trimmed == library || trimmed.starts_with(library + "/"))
            return dataHome() + m.belowDataHome + trimmed.substr(library.size());
    }
    return expandTilde(trimmed);
}

bool makeFolders(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))
        return false;
    return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace morvane::XdgPaths
