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

// The rename script: filerename(p, newName, newFilePath) renames the item at
// p to newFilePath and keeps its file-manager comment.
const std::string& renameScript();

} // namespace morvane::ScriptRunner
