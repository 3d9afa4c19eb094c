#include "MRVN7x/actions/PreviewRows.h"

#include "platform/PathText.h"

namespace morvane {

void PreviewRows::reserve(size_t count) {
    oldNames_.reserve(count);
    newNames_.reserve(count);
    folderOf_.reserve(count);
    flags_.reserve(count);
}

void PreviewRows::push_back(const PreviewEntry& row) {
    oldNames_.push_back(row.oldName);
    newNames_.push_back(row.newName);
    if (folders_.empty() || folders_[folders_.size() - 1] != row.path)
        folders_.push_back(row.path);
    folderOf_.push_back(static_cast<std::uint32_t>(folders_.size() - 1));
    flags_.push_back(static_cast<std::uint8_t>((row.root ? kRoot : 0) | (row.diff ? kDiff : 0) |
                                               (row.warning ? kWarning : 0)));
    if (row.regex || !regex_.empty()) {
        regex_.resize(flags_.size() - 1); // the rows before the first with columns have none
        regex_.push_back(row.regex);
    }
}

PreviewEntry PreviewRows::operator[](size_t row) const {
    PreviewEntry entry;
    entry.oldName = oldName(row);
    entry.path = path(row);
    entry.newName = newName(row);
    entry.regex = regex(row);
    entry.root = root(row);
    entry.diff = diff(row);
    entry.warning = warning(row);
    return entry;
}

std::string PreviewRows::oldPath(size_t row) const {
    return PathText::pathOfDisplayName(path(row), oldName(row));
}

std::string PreviewRows::newPath(size_t row) const {
    return PathText::pathOfDisplayName(path(row), newName(row));
}

void PreviewRows::setWarning(size_t row, bool warning) {
    flags_[row] =
        static_cast<std::uint8_t>(warning ? flags_[row] | kWarning : flags_[row] & ~kWarning);
}

} // namespace morvane
