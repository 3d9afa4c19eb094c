#include "platform/ScriptRunner.h"

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

bool callHandler(const std::string& script, const std::string& handler,
                 const std::vector<std::string>& arguments) {
    if (script == renameScript() && handler == "filerename")
        return fileRename(arguments);
    return false;
}

} // namespace morvane::ScriptRunner
