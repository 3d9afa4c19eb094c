#pragma once
// The launcher of a droplet: "NAME.desktop" beside "NAME.app", a desktop entry
// whose program is the droplet's, so that files dropped on it in a file manager
// (or on the desktop) reach the droplet. It is written with the droplet and
// rewritten when the droplet is replaced; a file of that name that is not a
// droplet launcher is left alone. Removing a droplet means removing both.
#include <string>

namespace morvane {

class DropletLauncherFile {
public:
    // Marks a launcher of ours; its value is the droplet's path.
    static constexpr const char* kMarkerKey = "X-Morvane-Droplet";

    // NAME.desktop beside NAME.app.
    static std::string pathFor(const std::string& dropletPath);
    // The desktop entry's text; nothing for a path a desktop entry cannot
    // hold (one that is not UTF-8).
    static std::string contents(const std::string& dropletPath);
    // Writes the launcher (executable, as file managers ask of launchers
    // outside the menus); false when it cannot or a foreign file is in the way.
    static bool write(const std::string& dropletPath);

    // The value of an Exec key that runs program with the dropped files.
    static std::string execLine(const std::string& program);
};

} // namespace morvane
