#pragma once
// Starting other programs: waited for and judged by exit status, or started
// to run on their own (opening a file, launching an application).
#include <string>
#include <vector>

namespace morvane::Workspace {

// Runs program (a path, or a name looked up in PATH) with arguments and
// waits for it; its exit status, or -1 when it could not be started or did
// not exit normally.
int runAndWait(const std::string& program, const std::vector<std::string>& arguments);

// Starts program so that it outlives this process (its own session, standard
// streams on /dev/null); true when it was started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

// Launches the application of a bundle (Bundle::executablePath); false when
// there is no such program or it could not be started.
bool launchApplication(const std::string& bundlePath);

// Asks every program of this user that runs from inside the bundle at
// bundlePath (its Contents folder) to quit with SIGTERM, the way an
// application is told to quit. True when the processes could be looked
// through; none running is no failure.
bool terminateApplication(const std::string& bundlePath);

// Opens an item the way the desktop would. A preference pane bundle
// (".prefPane") is opened by the preferences host "tessary-preferences"
// beside the running program; while that host is not installed the pane
// cannot be opened and the answer is false. Anything else goes to xdg-open.
bool openFile(const std::string& path);

} // namespace morvane::Workspace
