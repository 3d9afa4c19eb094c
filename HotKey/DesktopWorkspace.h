#pragma once
// The real desktop behind the press handlers. The active window is asked of
// the X display when there is one; without it (a Wayland session through the
// portal) nobody can tell which window is in front, so the handlers act.
// Tambrel's "wake up" goes out as a D-Bus signal on the session bus (see
// DistributedNotification.h).
#include "HotKey/KxAppleScriptObject.h"
#include "HotKey/Workspace.h"

namespace tsyhotkey {

class X11Desktop;

class DesktopWorkspace : public Workspace {
public:
    explicit DesktopWorkspace(X11Desktop* desktop) : desktop_(desktop) {}
    bool fileManagerIsFrontmost() override;
    bool launchApplication(const std::string& path) override;
    void postWakeUpNotification() override;

private:
    X11Desktop* desktop_;
};

// Runs the scripts of the press handlers through the platform's script
// runner: the file manager's selection is the files it copied to the
// clipboard (none without an X display), and the tool starts with them.
class DesktopScriptEngine : public ScriptEngine {
public:
    explicit DesktopScriptEngine(X11Desktop* desktop) : desktop_(desktop) {}
    bool compile(const std::string& source) override;
    bool execute(const std::string& source) override;

private:
    X11Desktop* desktop_;
};

} // namespace tsyhotkey
