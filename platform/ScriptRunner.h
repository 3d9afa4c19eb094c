#pragma once
// Carries out the few scripts this system sends to the file manager by native
// means. A script is identified by its exact text and the handler it calls;
// anything else reports failure.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane::ScriptRunner {

// Runs handler of script with the given text arguments; true when it completed.
bool callHandler(const std::string& script, const std::string& handler,
                 const std::vector<std::string>& arguments);

// Runs a whole script; true when it completed. Two are known:
// - the file-manager restart script: the running file manager quits, and is
//   started again once it is gone (see FileManagerRestart; false where no
//   file manager that can be restarted runs);
// - the preferences-host activation script: false, as this system has no
//   preferences host window to bring to the front; opening a pane starts it.
bool run(const std::string& script);

// "tell application "Finder" to quit", "delay 3", "tell application "Finder" to activate".
const std::string& finderRestartScript();
// "tell application "System Preferences"", "activate", "end tell".
const std::string& preferencesActivationScript();

// The rename script: filerename(p, newName, newFilePath) renames the item at
// p to newFilePath and keeps its file-manager comment.
const std::string& renameScript();

// The script that makes the file manager open its selection with a tool, the
// tool named by its path in the colon-separated style. When nothing is
// selected, the file manager first selects every item of its front window.
std::string openSelectionScript(const std::string& colonToolPath);

// What the open-selection script needs from the desktop, given by the program
// that runs it: the items the file manager offers as its selection, and the
// start of a tool (a POSIX path) with items.
struct FileManagerBridge {
    std::function<std::vector<std::string>()> selection;
    std::function<bool(const std::string&, const std::vector<std::string>&)> openWith;
};

// True when script is one this runner can carry out as a whole (its run handler).
bool canRun(const std::string& script);
// Runs the script's run handler; true when it completed.
bool run(const std::string& script, const FileManagerBridge& bridge);

// The colon-separated form of an absolute path: its components joined by ':',
// a ':' inside a name written as '/' ("/home/a:b/T.app" -> "home:a/b:T.app").
std::string colonPathFromPosix(const std::string& posixPath);
std::optional<std::string> posixPathFromColon(const std::string& colonPath);

} // namespace morvane::ScriptRunner
