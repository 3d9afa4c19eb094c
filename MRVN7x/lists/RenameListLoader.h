#pragma once
// Reads a plain rename list: one new name per line. Each instance is used for
// one load and then discarded.
#include <string>
#include <vector>

namespace morvane {

class RenameListLoader {
public:
    static constexpr int kMaximumLines = 500000;
    static constexpr size_t kMaximumNameLength = 256;
    // The result for a file that cannot be read at all.
    static constexpr int kUnreadable = -1;

    // 0 on success; otherwise the number of the record (counting the lines
    // that hold text) at which reading stopped, or kUnreadable.
    int loadFromPath(const std::string& path);
    const std::vector<std::u16string>& getFileArray() const { return fileArray_; }

    // Whether a text is acceptable as a new name in a list: 1 to 256 UTF-16
    // units, no tab, no "/".
    static bool isValidNewName(const std::u16string& name);

private:
    std::vector<std::u16string> fileArray_;
};

} // namespace morvane
