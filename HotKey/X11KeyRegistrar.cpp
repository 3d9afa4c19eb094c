#include "HotKey/X11KeyRegistrar.h"

#include "HotKey/KeyTable.h"
#include "platform/SystemLog.h"

#include <X11/keysym.h>

namespace tsyhotkey {
namespace {

constexpr unsigned int kHotKeyModifiers = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

// Set by the temporary error handler while grabs are made.
bool grabRefused = false;

int noteRefusal(Display*, XErrorEvent* error) {
    if (error->error_code == BadAccess || error->error_code == BadValue)
        grabRefused = true;
    return 0;
}

} // namespace

X11KeyRegistrar::X11KeyRegistrar(Display* display)
    : display_(display), root_(DefaultRootWindow(display)) {}

X11KeyRegistrar::~X11KeyRegistrar() {
    releaseAll();
}

unsigned int X11KeyRegistrar::xModifiers(std::uint32_t modifierMask) {
    unsigned int modifiers = 0;
    if (modifierMask & kControlKeyMask)
        modifiers |= ControlMask;
    if (modifierMask & kShiftKeyMask)
        modifiers |= ShiftMask;
    if (modifierMask & kOptionKeyMask)
        modifiers |= Mod1Mask;
    if (modifierMask & kCommandKeyMask)
        modifiers |= Mod4Mask;
    return modifiers;
}

KeyCode X11KeyRegistrar::xKeyCode(Display* display, std::uint16_t keyCode) {
    const KeyTableEntry* entry = KeyTable::entryForKeyCode(keyCode);
    if (!entry)
        return 0;
    KeySym symbol = XStringToKeysym(entry->keySymbolName);
    return symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
}

// The modifier bit Num Lock sits on (usually Mod2).
unsigned int X11KeyRegistrar::numLockMask() const {
    unsigned int mask = 0;
    const KeyCode numLock = XKeysymToKeycode(display_, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display_);
    if (!map)
        return Mod2Mask;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int k = 0; k < map->max_keypermod; ++k)
            if (numLock != 0 && map->modifiermap[modifier * map->max_keypermod + k] == numLock)
                mask = 1u << modifier;
    XFreeModifiermap(map);
    return mask ? mask : Mod2Mask;
}

bool X11KeyRegistrar::grabVariants(const Grab& grab) {
    const unsigned int numLock = numLockMask();
    XSync(display_, False);
    grabRefused = false;
    XErrorHandler previous = XSetErrorHandler(noteRefusal);
    for (unsigned int locks : {0u, unsigned(LockMask), numLock, LockMask | numLock})
        XGrabKey(display_, grab.keyCode, grab.modifiers | locks, root_, False, GrabModeAsync,
                 GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    if (!grabRefused)
        return true;
    ungrabVariants(grab);
    return false;
}

void X11KeyRegistrar::ungrabVariants(const Grab& grab) {
    const unsigned int numLock = numLockMask();
    for (unsigned int locks : {0u, unsigned(LockMask), numLock, LockMask | numLock})
        XUngrabKey(display_, grab.keyCode, grab.modifiers | locks, root_);
    XFlush(display_);
}

HotKeyHandle X11KeyRegistrar::registerKey(const HotKeyRequest& request) {
    Grab grab{xKeyCode(display_, request.keyCode), xModifiers(request.modifierMask)};
    if (grab.keyCode == 0) {
        // Said once: the same request comes back every tick.
        if (missingKeys_.insert(request.keyCode).second)
            morvane::SystemLog::warning("No key on this keyboard for key code " +
                                        std::to_string(request.keyCode));
        return 0;
    }
    for (const auto& [handle, held] : grabs_)
        if (held == grab)
            return 0; // one combination, one hot key
    if (!grabVariants(grab))
        return 0;
    HotKeyHandle handle = nextHandle_++;
    if (nextHandle_ == 0)
        nextHandle_ = 1;
    grabs_[handle] = grab;
    return handle;
}

void X11KeyRegistrar::unregisterKey(HotKeyHandle handle) {
    auto found = grabs_.find(handle);
    if (found == grabs_.end())
        return;
    ungrabVariants(found->second);
    grabs_.erase(found);
}

void X11KeyRegistrar::releaseAll() {
    for (const auto& [handle, grab] : grabs_)
        ungrabVariants(grab);
    grabs_.clear();
    XSync(display_, False);
}

pollfd X11KeyRegistrar::descriptor() {
    return pollfd{ConnectionNumber(display_), POLLIN, 0};
}

bool X11KeyRegistrar::dispatch(const PressHandler& onPress) {
    // A lost connection ends in the program's I/O error handler inside XPending.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type != KeyPress)
            continue;
        if (HotKeyHandle handle = handleForKeyPress(event.xkey))
            onPress(handle);
    }
    return true;
}

HotKeyHandle X11KeyRegistrar::handleForKeyPress(const XKeyEvent& event) const {
    const Grab pressed{static_cast<KeyCode>(event.keycode), event.state & kHotKeyModifiers};
    for (const auto& [handle, grab] : grabs_)
        if (grab == pressed)
            return handle;
    return 0;
}

} // namespace tsyhotkey
