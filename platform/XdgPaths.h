#pragma once
// The user's folders, always derived from the environment so that tests can
// point HOME and the XDG variables at a temporary folder.
#include <string>

namespace morvane::XdgPaths {

std::string home();
std::string configHome(); // ${XDG_CONFIG_HOME:-~/.config}
std::string dataHome();   // ${XDG_DATA_HOME:-~/.local/share}
std::string stateHome();  // ${XDG_STATE_HOME:-~/.local/state}

// Creates the folder and its parents (mode 0700 for new ones); true when it exists afterwards.
bool makeFolders(const std::string& path);

} // namespace morvane::XdgPaths
