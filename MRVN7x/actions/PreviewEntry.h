#pragma once
// One row of the preview: what the chain computed for one item of the list.
#include <array>
#include <optional>
#include <string>

namespace morvane {

struct PreviewEntry {
    std::u16string oldName;                             // "oldName": the display name before
    std::string path;                                   // "path": the folder holding the item
    std::u16string newName;                             // "newName": the computed display name
    std::optional<std::array<std::u16string, 6>> regex; // "regex1" to "regex6"
    bool root = false;                                  // "root": the item was added directly
    bool diff = false;                                  // "diff": newName differs from oldName
    bool warning = false; // "warning": another row gets the same new path
};

} // namespace morvane
