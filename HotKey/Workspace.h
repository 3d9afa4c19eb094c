#pragma once
// The desktop services a press handler uses: which window is in front,
// starting applications, and the notification that wakes a running Tambrel.
#include <string>

namespace tsyhotkey {

class Workspace {
public:
    virtual ~Workspace() = default;
    // True when a file manager is the active window (or when the desktop
    // cannot tell, see the desktop back ends).
    virtual bool fileManagerIsFrontmost() = 0;
    // Starts the application (a bundle folder or a program) at path.
    virtual bool launchApplication(const std::string& path) = 0;
    // The distributed notification "wake up" with object "net.halvard.tmbl".
    virtual void postWakeUpNotification() = 0;
};

} // namespace tsyhotkey
