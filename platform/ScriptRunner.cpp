#include "platform/ScriptRunner.h"

#include "platform/FileManagerRestart.h"
#include "platform/FileOperations.h"

namespace morvane::ScriptRunner {
namespace {

// filerename(p, newName, newFilePath): read the comment, rename, write the
// comment back onto the item under its new name.
bool fileRename(const std::vector<std::string>& arguments) {
    if (arguments.size() != 3)
        return false;
    const std::string& path = arguments[0];
    const std::string& newFilePath = arguments[2];
    std::string comment;
    const bool hadComment = FileOperations::readComment(path, comment);
    if (!FileOperations::moveNoReplace(path, newFilePath))
        return false;
    return !hadComment || FileOperations::writeComment(newFilePath, comment);
}

const char kOpenSelectionHead[] = "on run\n"
                                  "tell application \"Finder\"\n"
                                  "if selection is {} then\n"
                                  "select (items of target of (front window))\n"
                                  "end if\n"
                                  "open selection using \"";
const char kOpenSelectionTail[] = "\"\n"
                                  "end tell\n"
                                  "end run\n";

// The tool path of an open-selection script, or nothing for any other text.
std::optional<std::string> openSelectionToolPath(const std::string& script) {
    const std::string head = kOpenSelectionHead;
    const std::string tail = kOpenSelectionTail;
    if (script.size() < head.size() + tail.size() || !script.starts_with(head) ||
        !script.ends_with(tail))
        return std::nullopt;
    std::string path = script.substr(head.size(), script.size() - head.size() - tail.size());
    if (path.find('\n') != std::string::npos)
        return std::nullopt;
    return path;
}

} // namespace

std::string openSelectionScript(const std::string& colonToolPath) {
    return kOpenSelectionHead + colonToolPath + kOpenSelectionTail;
}

bool canRun(const std::string& script) {
    auto colonPath = openSelectionToolPath(script);
    return colonPath && posixPathFromColon(*colonPath);
}

bool run(const std::string& script, const FileManagerBridge& bridge) {
    auto colonPath = openSelectionToolPath(script);
    if (!colonPath || !bridge.openWith)
        return false;
    auto toolPath = posixPathFromColon(*colonPath);
    if (!toolPath)
        return false;
    std::vector<std::string> items;
    if (bridge.selection)
        items = bridge.selection();
    return bridge.openWith(*toolPath, items);
}

std::string colonPathFromPosix(const std::string& posixPath) {
    std::string result;
    std::size_t start = 0;
    while (start <= posixPath.size()) {
        std::size_t slash = posixPath.find('/', start);
        if (slash == std::string::npos)
            slash = posixPath.size();
        std::string component = posixPath.substr(start, slash - start);
        if (!component.empty()) {
            for (char& c : component)
                if (c == ':')
                    c = '/';
            if (!result.empty())
                result += ':';
            result += component;
        }
        start = slash + 1;
    }
    return result;
}

std::optional<std::string> posixPathFromColon(const std::string& colonPath) {
    if (colonPath.empty() || colonPath.front() == ':' || colonPath.back() == ':' ||
        colonPath.find("::") != std::string::npos)
        return std::nullopt;
    std::string result = "/";
    for (char c : colonPath)
        result += c == ':' ? '/' : c == '/' ? ':' : c;
    return result;
}

const std::string& renameScript() {
    static const std::string text =
        "on filerename(p, newName, newFilePath)\n"
        "tell application \"Finder\"\n"
        "set oldComment to comment of ((POSIX file p) as alias)\n"
        "set name of ((POSIX file p) as alias) to newName\n"
        "set comment of ((POSIX file newFilePath) as alias) to oldComment\n"
        "end tell\n"
        "end filerename\n";
    return text;
}

const std::string& finderRestartScript() {
    static const std::string text = "tell application \"Finder\" to quit\n"
                                    "delay 3\n"
                                    "tell application \"Finder\" to activate\n";
    return text;
}

const std::string& preferencesActivationScript() {
    static const std::string text = "tell application \"System Preferences\"\n"
                                    "activate\n"
                                    "end tell\n";
    return text;
}

bool run(const std::string& script) {
    if (script == finderRestartScript())
        return FileManagerRestart::restart(std::chrono::seconds(3));
    return false;
}

bool callHandler(const std::string& script, const std::string& handler,
                 const std::vector<std::string>& arguments) {
    if (script == renameScript() && handler == "filerename")
        return fileRename(arguments);
    return false;
}

} // namespace morvane::ScriptRunner
