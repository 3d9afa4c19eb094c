#pragma once
// Global hot keys on X11: passive key grabs on the root window. A hot key is
// grabbed four times, with and without Caps Lock and Num Lock, so that those
// locks do not hide it. A grab another program holds (BadAccess) is refused.
#include "HotKey/HotKeyBackend.h"

#include <X11/Xlib.h>
#include <map>
#include <set>

namespace tsyhotkey {

class X11KeyRegistrar : public HotKeyBackend {
public:
    explicit X11KeyRegistrar(Display* display);
    ~X11KeyRegistrar() override;
    X11KeyRegistrar(const X11KeyRegistrar&) = delete;
    X11KeyRegistrar& operator=(const X11KeyRegistrar&) = delete;

    HotKeyHandle registerKey(const HotKeyRequest& request) override;
    void unregisterKey(HotKeyHandle handle) override;
    const char* name() const override { return "X11"; }
    pollfd descriptor() override;
    bool dispatch(const PressHandler& onPress) override;
    void releaseAll() override;

    // The hot key a key press on the root window stands for, or 0.
    HotKeyHandle handleForKeyPress(const XKeyEvent& event) const;

    // Control, shift, option and command bits as X modifiers
    // (Control, Shift, Mod1, Mod4).
    static unsigned int xModifiers(std::uint32_t modifierMask);
    // The X key code of a key of the table, or 0 where this keyboard has none.
    static KeyCode xKeyCode(Display* display, std::uint16_t keyCode);

private:
    struct Grab {
        KeyCode keyCode;
        unsigned int modifiers;
        bool operator==(const Grab&) const = default;
    };
    bool grabVariants(const Grab& grab);
    void ungrabVariants(const Grab& grab);
    unsigned int numLockMask() const;

    Display* display_;
    Window root_;
    HotKeyHandle nextHandle_ = 1;
    std::map<HotKeyHandle, Grab> grabs_;
    std::set<std::uint16_t> missingKeys_;
};

} // namespace tsyhotkey
