#pragma once
// The X display the hot-key program works on, and what it learns from it: the
// class of the active window (EWMH _NET_ACTIVE_WINDOW, WM_CLASS) and the files
// a file manager copied to the clipboard.
#include <string>
#include <vector>

typedef struct _XDisplay Display; // as Xlib declares it; Xlib's macros stay out of users

namespace tsyhotkey {

class X11Desktop {
public:
    // Opens the display named by DISPLAY; check display() afterwards.
    X11Desktop();
    ~X11Desktop();
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    Display* display() const { return display_; }

    // The WM_CLASS (instance and class) of the active window, lower-cased;
    // nothing when the window manager does not say which window is active.
    std::vector<std::string> activeWindowClass();
    // True when the active window is a known file manager, or when the window
    // manager does not publish the active window (then nobody can tell).
    bool fileManagerIsActive();
    static bool isFileManagerClass(const std::string& lowerCaseClass);

    // The paths of the files on the clipboard (waits at most a second for
    // the clipboard's owner).
    std::vector<std::string> clipboardFiles();

private:
    std::string readSelection(unsigned long target); // an Atom

    Display* display_ = nullptr;
    unsigned long window_ = 0; // a Window that receives the clipboard's answers
};

} // namespace tsyhotkey
