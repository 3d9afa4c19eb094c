#pragma once
// Reads a plain rename list: one new name per line. Each instance is used for
// one load and then discarded.
#include "MRVN7x/lists/ListFileReader.h"

#include <string>
#include <vector>

namespace morvane {

class RenameListLoader {
public:
    static constexpr int kMaximumLines = 500000;
    static constexpr size_t kMaximumNameLength = 256;
    // Nothing is kept unless every record is.
    ListLoadResult loadFromPath(const std::string& path);
    const std::vector<std::u16string>& getFileArray() const { return fileArray_; }

    // Whether a text is acceptable as a new name in a list: 1 to 256 UTF-16
    // units, no tab, no "/".
    static bool isValidNewName(const std::u16string& name);

private:
    std::vector<std::u16string> fileArray_;
};

} // namespace morvane
