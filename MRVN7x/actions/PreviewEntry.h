#pragma once
// One row of the preview: the item's names before and after the chain runs,
// its folder, and the flags the preview sets. The chain fills the names and
// the regular-expression columns; the preview fills the flags.
#include <array>
#include <optional>
#include <string>

namespace morvane {

struct PreviewEntry {
    std::u16string oldName;                             // "oldName": the display name before
    std::string path;                                   // "path": the folder holding the item
    std::u16string newName;                             // "newName": the chain's result
    std::optional<std::array<std::u16string, 6>> regex; // "regex1" to "regex6", when present
    bool root = false;                                  // "root"
    bool diff = false;                                  // "diff"
    bool warning = false;                               // "warning"
};

} // namespace morvane
