#pragma once
// The items the context-menu component hands over for renaming: a file of
// 70-byte item records (platform/FileSpecification.h) in the Preferences
// folder, "Morvane Pref", else "mrvn test", read once at launch and deleted.
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class FileListReader {
public:
    // The paths of the items that still exist, in record order; nothing when
    // the Preferences folder or the file cannot be found or opened. The file
    // is deleted after reading, whatever its records named.
    static std::optional<std::vector<std::string>> readFileList();

    // The two names the file may have, in the order they are tried.
    static std::vector<std::string> handOverFilePaths();
};

} // namespace morvane
