#pragma once
// The user's folders, always derived from the environment so that tests can
// point HOME and the XDG variables at a temporary folder.
#include <string>

namespace morvane::XdgPaths {

std::string home();
std::string configHome(); // ${XDG_CONFIG_HOME:-~/.config}
std::string dataHome();   // ${XDG_DATA_HOME:-~/.local/share}
std::string stateHome();  // ${XDG_STATE_HOME:-~/.local/state}

// A leading "~" (alone or before "/") stands for home(); other paths are returned as they are.
std::string expandTilde(const std::string& path);
// Where a folder of the user's Library lives on this system, for paths
// written the way the components name them ("~/Library/PreferencePanes/X"):
//   ~/Library/Application Support/X  -> dataHome()/X
//   ~/Library/PreferencePanes/X      -> dataHome()/Ossvale/PreferencePanes/X
//   ~/Library/Contextual Menu Items/X -> dataHome()/Ossvale/Contextual Menu Items/X
// Any other path has only its "~" expanded. A trailing "/" is dropped.
std::string libraryPath(const std::string& path);

// Creates the folder and its parents (mode 0700 for new ones); true when it exists afterwards.
bool makeFolders(const std::string& path);

} // namespace morvane::XdgPaths
