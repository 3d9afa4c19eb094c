#pragma once
// An Xvfb of our own and a client on it that plays the desktop for the
// hot-key program: the active window (EWMH), a file manager's copied files on
// the clipboard, and key presses through XTest. Include gtest before this
// header: Xlib defines macros (None, Bool, Status) that gtest must not see.
#include "tests/hotkey/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <initializer_list>
#include <iterator>
#include <string>

namespace tsyhotkey::test {

using morvane::test::TempDir;
using namespace std::chrono_literals;

class XDesktop {
public:
    explicit XDesktop(const TempDir& dir)
        : server_({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"}, {},
                  dir / "display") {
        waitUntil([&] { return !firstLine(dir / "display").empty(); }, 20s);
        name_ = ":" + firstLine(dir / "display");
        display_ = XOpenDisplay(name_.c_str());
        if (!display_)
            return;
        fileManager_ = makeWindow("org.gnome.Nautilus", "nautilus");
        terminal_ = makeWindow("XTerm", "xterm");
    }
    ~XDesktop() { disconnect(); }
    // Before the server goes: Xlib ends a client whose server is gone.
    void disconnect() {
        if (display_)
            XCloseDisplay(display_);
        display_ = nullptr;
    }
    bool isOpen() const { return display_ != nullptr; }
    const std::string& name() const { return name_; }
    Display* display() const { return display_; }
    ChildProcess& server() { return server_; }

    void activateFileManager() { setActive(fileManager_); }
    void activateTerminal() { setActive(terminal_); }

    // Holds the keys down in order and lets them go in reverse.
    void press(std::initializer_list<KeySym> keys) {
        for (KeySym key : keys)
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, 0);
        for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
            XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, *key), False, 0);
        XSync(display_, False);
    }

    // Presses the keys until happened() (the program may not have grabbed
    // them yet), serving the clipboard meanwhile; false when it never did.
    template <typename Happened>
    bool pressUntil(std::initializer_list<KeySym> keys, Happened happened,
                    std::chrono::milliseconds limit) {
        using namespace std::chrono_literals;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            press(keys);
            if (waitUntil(
                    [&] {
                        serve();
                        return happened();
                    },
                    500ms))
                return true;
        }
        return false;
    }

    // Puts files on the clipboard as GNOME Files does on copy.
    void copyFiles(const std::string& uriList) {
        copied_ = "copy\n" + uriList;
        XSetSelectionOwner(display_, atom("CLIPBOARD"), fileManager_, CurrentTime);
        XSync(display_, False);
    }
    // Answers the clipboard requests that arrived.
    void serve() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == SelectionRequest)
                answer(event.xselectionrequest);
        }
    }

private:
    Atom atom(const char* name) { return XInternAtom(display_, name, False); }

    Window makeWindow(const char* className, const char* instance) {
        Window window =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
        XClassHint hint{const_cast<char*>(instance), const_cast<char*>(className)};
        XSetClassHint(display_, window, &hint);
        return window;
    }
    void setActive(Window window) {
        XChangeProperty(display_, DefaultRootWindow(display_), atom("_NET_ACTIVE_WINDOW"),
                        XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&window),
                        1);
        XSync(display_, False);
    }
    void answer(const XSelectionRequestEvent& request) {
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = None;
        if (request.target == atom("x-special/gnome-copied-files")) {
            XChangeProperty(display_, request.requestor, request.property, request.target, 8,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(copied_.data()),
                            static_cast<int>(copied_.size()));
            reply.property = request.property;
        }
        XSendEvent(display_, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XSync(display_, False);
    }

    ChildProcess server_;
    std::string name_;
    Display* display_ = nullptr;
    Window fileManager_ = 0;
    Window terminal_ = 0;
    std::string copied_;
};

} // namespace tsyhotkey::test
