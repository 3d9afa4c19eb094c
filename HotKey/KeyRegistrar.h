#pragma once
// The platform's global hot-key service as the hot-key program sees it. Two back
// ends implement it (X11 key grabs, the desktop portal's GlobalShortcuts);
// tests use a fake.
#include <cstdint>
#include <string>

namespace tsyhotkey {

using HotKeyHandle = std::uint32_t; // 0: nothing registered

struct HotKeyRequest {
    std::uint16_t keyCode = 0;      // a virtual key code of the key table
    std::uint32_t modifierMask = 0; // shift, control, option, command bits of a hot-key record
    std::uint32_t identifier = 0;   // the registration counter's value
    std::string description;        // what the key does, for desktops that show it
};

class KeyRegistrar {
public:
    virtual ~KeyRegistrar() = default;
    // A new handle, or 0 when the combination is refused (taken by another
    // program, or a key this desktop cannot offer).
    virtual HotKeyHandle registerKey(const HotKeyRequest& request) = 0;
    virtual void unregisterKey(HotKeyHandle handle) = 0;
    // Called after each round of changes, so a back end that binds all keys at
    // once (the portal) binds them once per round.
    virtual void commit() {}
};

} // namespace tsyhotkey
