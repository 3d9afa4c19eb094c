#pragma once
// The keys a hot key can use, shared with the preference pane: 61 entries in
// the order the pane offers them, each with its display name, its virtual key
// code, whether it may be used without a modifier, and the X key symbol name
// that stands for it on Linux (also the key name of a portal trigger).
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tsyhotkey {

struct KeyTableEntry {
    const char* name;
    std::uint16_t keyCode;
    std::uint16_t allowedWithoutModifier;
    const char* keySymbolName;
};

class KeyTable {
public:
    static std::span<const KeyTableEntry> entries();
    // The two lookup maps, built once on first use: a name not in the table
    // yields nothing.
    static std::optional<std::uint16_t> keyCodeForName(const std::string& name);
    static std::optional<bool> allowedWithoutModifierForName(const std::string& name);
    // The first entry with this key code ("INSERT" and "HELP" share 114).
    static const KeyTableEntry* entryForKeyCode(std::uint16_t keyCode);
};

// Modifier mask bits of a hot-key record.
inline constexpr std::uint32_t kShiftKeyMask = 0x20000;
inline constexpr std::uint32_t kControlKeyMask = 0x40000;
inline constexpr std::uint32_t kOptionKeyMask = 0x80000;
inline constexpr std::uint32_t kCommandKeyMask = 0x100000;

} // namespace tsyhotkey
