#pragma once
// Carries out the few scripts this system sends to the file manager by native
// means. A script is identified by its exact text and the handler it calls;
// anything else reports failure.
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

} // namespace morvane::ScriptRunner
