#pragma once
// The programs started when the user logs in: the array
// "AutoLaunchedApplicationDictionary" of the preferences domain "loginwindow"
// ({"Hide": 1, "Path": path} entries), mirrored after every change to XDG
// autostart entries so a Linux desktop really starts them. Only the autostart
// entries written here (marked X-Ossvale-Login-Item) are ever changed.
#include "platform/PlistValue.h"
#include "platform/UserDefaults.h"

#include <string>
#include <vector>

namespace morvane {

struct LoginItem {
    std::string path;
    bool hide = false;
};

class LoginItems {
public:
    static constexpr const char* kDomain = "loginwindow";
    static constexpr const char* kKey = "AutoLaunchedApplicationDictionary";

    LoginItems();

    std::vector<LoginItem> items();
    // Appends an item (the array starts empty when absent); false when the
    // domain could not be written.
    bool add(const std::string& path, bool hide);
    // Keeps every item whose path does not contain text.
    bool removeContaining(const std::string& text);

    // ${XDG_CONFIG_HOME:-~/.config}/autostart
    static std::string autostartFolder();
    // The autostart entry that stands for an item at path.
    static std::string autostartFile(const std::string& path);
    // The program an item starts: a bundle's Contents/bin program, else the path itself.
    static std::string programOf(const std::string& path);

private:
    plist::Array stored();
    bool store(plist::Array items);
    void mirror(const plist::Array& items);

    UserDefaults defaults_;
};

} // namespace morvane
