#pragma once
// Reads a pair list: per line the full path of a file, a tab, and its new
// name. It is the form the application writes when it saves the file list
// with full paths, so a saved list can be edited and loaded back. Each
// instance is used for one load and then discarded.
#include "MRVN7x/lists/ListFileReader.h"

#include <string>
#include <vector>

namespace morvane {

class TabDelimitedFileListLoader {
public:
    static constexpr size_t kMaximumPathLength = 1024;

    // Lower-cases the paths as they are read, for matching without regard to case.
    void setIgnoreCase(bool ignoreCase) { ignoreCase_ = ignoreCase; }

    // 0 on success; otherwise the number of the record (counting the lines
    // that hold text) at which reading stopped, or RenameListLoader::kUnreadable.
    // A result of 1 also means that the file is not a pair list at all.
    ListLoadResult loadFromPath(const std::string& path);
    const std::vector<std::u16string>& getFileArray() const { return fileArray_; }
    const std::vector<std::u16string>& getNewNameArray() const { return newNameArray_; }

    // The form in which paths are compared when case is ignored (full Unicode
    // lower-case mapping, independent of the user's locale).
    static std::u16string lowercasePath(const std::u16string& path);

private:
    bool addPair(const std::u16string& line);

    std::vector<std::u16string> fileArray_;
    std::vector<std::u16string> newNameArray_;
    bool ignoreCase_ = false;
};

} // namespace morvane
