#pragma once
// The text of a saved file list, and writing it without ever losing the
// file that was there before: the new text is written aside and moved into
// place in one step, so a failed write leaves the old file as it was.
#include <string>

namespace morvane {

class FileListWriter {
public:
    // layout 0: "name<TAB>new name", 1: "new name", 2: "full path<TAB>new name".
    explicit FileListWriter(int layout) : layout_(layout) {}

    // Appends the line of one item (path as stored, new name in display form).
    void add(const std::string& path, const std::u16string& newName);
    const std::string& text() const { return text_; }

    // Replaces the file at path with the text in one step. False on failure
    // (the file that was there is untouched).
    bool writeTo(const std::string& path) const;

private:
    int layout_;
    std::string text_;
};

} // namespace morvane
