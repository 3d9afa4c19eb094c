#pragma once
// The records an action is applied with: the input context, made by the caller
// for one item and reused for every step of a chain, and the output context
// that the action fills.
#include <array>
#include <optional>
#include <string>

namespace morvane {

class FileInformation;
class SortingIndex;

struct InputContext {
    // The item's file information: the given source, else one that knows nothing.
    FileInformation& files() const;

    std::string inputPath;                   // "inputPath": the item's absolute path
    std::u16string currentName;              // "currentName": the display name before this step
    FileInformation* fileManager = nullptr;  // "file manager"
    SortingIndex* dynamicFileList = nullptr; // "dynamic file list"
    bool preview = false;                    // "preview": set while the chain's current step runs
    // The item's internal index in the dynamic file list where the caller
    // knows it: spares a search by path (a wrong one is noticed and ignored).
    int listIndex = -1;
};

struct OutputContext {
    std::u16string newName;                             // "newName"
    std::optional<std::array<std::u16string, 6>> regex; // "regex1" to "regex6"
};

} // namespace morvane
