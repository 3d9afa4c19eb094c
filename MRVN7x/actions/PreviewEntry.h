#pragma once
// One row of the preview: what the chain computed for one item of the list.
#include <array>
#include <memory>
#include <string>

namespace morvane {

struct PreviewEntry {
    std::u16string oldName; // "oldName": the display name before
    std::string path;       // "path": the folder holding the item
    std::u16string newName; // "newName": the computed display name
    // "regex1" to "regex6"; only a regular expression step has them, so a row
    // without them costs one pointer instead of six empty texts (rows of a
    // large list are many).
    std::shared_ptr<const std::array<std::u16string, 6>> regex;
    bool root = false;    // "root": the item was added directly
    bool diff = false;    // "diff": newName differs from oldName
    bool warning = false; // "warning": another row gets the same new path
};

} // namespace morvane
