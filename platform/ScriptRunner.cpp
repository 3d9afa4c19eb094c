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

} // namespace

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
