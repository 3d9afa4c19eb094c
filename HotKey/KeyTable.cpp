#include "HotKey/KeyTable.h"

#include <unordered_map>

namespace tsyhotkey {
namespace {

constexpr KeyTableEntry kEntries[] = {
    {"0", 29, 0, "0"},
    {"1", 18, 0, "1"},
    {"2", 19, 0, "2"},
    {"3", 20, 0, "3"},
    {"4", 21, 0, "4"},
    {"5", 23, 0, "5"},
    {"6", 22, 0, "6"},
    {"7", 26, 0, "7"},
    {"8", 28, 0, "8"},
    {"9", 25, 0, "9"},
    {"A", 0, 0, "a"},
    {"B", 11, 0, "b"},
    {"C", 8, 0, "c"},
    {"D", 2, 0, "d"},
    {"E", 14, 0, "e"},
    {"F", 3, 0, "f"},
    {"G", 5, 0, "g"},
    {"H", 4, 0, "h"},
    {"I", 34, 0, "i"},
    {"J", 38, 0, "j"},
    {"K", 40, 0, "k"},
    {"L", 37, 0, "l"},
    {"M", 46, 0, "m"},
    {"N", 45, 0, "n"},
    {"O", 31, 0, "o"},
    {"P", 35, 0, "p"},
    {"Q", 12, 0, "q"},
    {"R", 15, 0, "r"},
    {"S", 1, 0, "s"},
    {"T", 17, 0, "t"},
    {"U", 32, 0, "u"},
    {"V", 9, 0, "v"},
    {"W", 13, 0, "w"},
    {"X", 7, 0, "x"},
    {"Y", 16, 0, "y"},
    {"Z", 6, 0, "z"},
    {"F1", 122, 1, "F1"},
    {"F2", 120, 1, "F2"},
    {"F3", 99, 1, "F3"},
    {"F4", 118, 1, "F4"},
    {"F5", 96, 1, "F5"},
    {"F6", 97, 1, "F6"},
    {"F7", 98, 1, "F7"},
    {"F8", 100, 1, "F8"},
    {"F9", 101, 1, "F9"},
    {"F10", 109, 1, "F10"},
    {"F11", 103, 1, "F11"},
    {"INSERT", 114, 1, "Insert"},
    {"F12", 111, 1, "F12"},
    {"F13", 105, 1, "F13"},
    {"F16", 106, 1, "F16"},
    {"DELETE", 117, 0, "Delete"},
    {"ESCAPE", 53, 0, "Escape"},
    {"TAB", 48, 0, "Tab"},
    {"UP ARROW", 126, 0, "Up"},
    {"DOWN ARROW", 125, 0, "Down"},
    {"LEFT ARROW", 123, 0, "Left"},
    {"RIGHT ARROW", 124, 0, "Right"},
    {"HOME", 115, 0, "Home"},
    {"END", 119, 0, "End"},
    {"HELP", 114, 1, "Help"},
};

struct LookupMaps {
    std::unordered_map<std::string, std::uint16_t> keyCodes;
    std::unordered_map<std::string, bool> allowedWithoutModifier;
};

const LookupMaps& lookupMaps() {
    static const LookupMaps maps = [] {
        LookupMaps built;
        for (const KeyTableEntry& entry : kEntries) {
            built.keyCodes.emplace(entry.name, entry.keyCode);
            built.allowedWithoutModifier.emplace(entry.name, entry.allowedWithoutModifier != 0);
        }
        return built;
    }();
    return maps;
}

} // namespace

std::span<const KeyTableEntry> KeyTable::entries() {
    return kEntries;
}

std::optional<std::uint16_t> KeyTable::keyCodeForName(const std::string& name) {
    const auto& codes = lookupMaps().keyCodes;
    auto found = codes.find(name);
    if (found == codes.end())
        return std::nullopt;
    return found->second;
}

std::optional<bool> KeyTable::allowedWithoutModifierForName(const std::string& name) {
    const auto& flags = lookupMaps().allowedWithoutModifier;
    auto found = flags.find(name);
    if (found == flags.end())
        return std::nullopt;
    return found->second;
}

const KeyTableEntry* KeyTable::entryForKeyCode(std::uint16_t keyCode) {
    for (const KeyTableEntry& entry : kEntries)
        if (entry.keyCode == keyCode)
            return &entry;
    return nullptr;
}

} // namespace tsyhotkey
