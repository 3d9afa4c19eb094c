#include "HotKey/X11Desktop.h"

#include "HotKey/ClipboardFiles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <poll.h>

namespace tsyhotkey {
namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

X11Desktop::X11Desktop() : display_(XOpenDisplay(nullptr)) {
    if (!display_)
        return;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
}

X11Desktop::~X11Desktop() {
    if (!display_)
        return;
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

bool X11Desktop::isFileManagerClass(const std::string& lowerCaseClass) {
    static const char* const fileManagers[] = {"nautilus",   "org.gnome.nautilus",
                                               "dolphin",    "org.kde.dolphin",
                                               "nemo",       "caja",
                                               "thunar",     "pcmanfm",
                                               "pcmanfm-qt", "spacefm",
                                               "konqueror",  "io.elementary.files",
                                               "peony",      "krusader",
                                               "doublecmd",  "org.gnome.files"};
    return std::any_of(std::begin(fileManagers), std::end(fileManagers),
                       [&](const char* name) { return lowerCaseClass == name; });
}

std::vector<std::string> X11Desktop::activeWindowClass() {
    Atom activeAtom = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), activeAtom, 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) != Success)
        return {};
    Window active = 0;
    if (data && type == XA_WINDOW && format == 32 && count == 1)
        active = *reinterpret_cast<Window*>(data);
    if (data)
        XFree(data);
    if (active == 0)
        return {};
    XClassHint hint{};
    if (!XGetClassHint(display_, active, &hint))
        return {""}; // an active window without a class is no file manager
    std::vector<std::string> names;
    if (hint.res_name)
        names.push_back(lowerCase(hint.res_name));
    if (hint.res_class)
        names.push_back(lowerCase(hint.res_class));
    XFree(hint.res_name);
    XFree(hint.res_class);
    return names.empty() ? std::vector<std::string>{""} : names;
}

bool X11Desktop::fileManagerIsActive() {
    const std::vector<std::string> names = activeWindowClass();
    if (names.empty())
        return true;
    return std::any_of(names.begin(), names.end(), isFileManagerClass);
}

std::string X11Desktop::readSelection(unsigned long target) {
    Atom clipboard = XInternAtom(display_, "CLIPBOARD", False);
    Atom property = XInternAtom(display_, "TSY_HOTKEY_CLIPBOARD", False);
    if (XGetSelectionOwner(display_, clipboard) == None)
        return {};
    XConvertSelection(display_, clipboard, target, property, window_, CurrentTime);
    XFlush(display_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    XEvent event;
    while (!XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {};
        pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
    if (event.xselection.property == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display_, window_, property, 0, 1 << 20, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 8)
        text.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return text;
}

std::vector<std::string> X11Desktop::clipboardFiles() {
    for (const char* target : {"x-special/gnome-copied-files", "text/uri-list"}) {
        std::string text = readSelection(XInternAtom(display_, target, False));
        if (!text.empty())
            return ClipboardFiles::pathsFromUriList(text);
    }
    return {};
}

} // namespace tsyhotkey
