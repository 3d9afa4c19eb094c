#pragma once
// The rows of the preview, kept compactly: both names of a row in one text of
// a text list, a name of Latin-1 characters only (most are) one byte a
// character, and a folder once for each run of rows in the same folder. A
// preview of a million items so holds about 90 bytes a row instead of three
// heap texts with their headers (about 300). A row is handed out as a
// PreviewEntry made when asked for, or one field at a time.
#include "MRVN7x/actions/PreviewEntry.h"
#include "platform/TextList.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class PreviewRows {
public:
    PreviewRows() = default;
    PreviewRows(PreviewRows&&) noexcept = default;
    PreviewRows& operator=(PreviewRows&&) noexcept = default;

    void reserve(size_t count);
    void push_back(const PreviewEntry& row);
    // The rows of other after these (rows made on another thread).
    void append(const PreviewRows& other);

    size_t size() const { return flags_.size(); }
    bool empty() const { return flags_.empty(); }
    PreviewEntry operator[](size_t row) const;
    PreviewEntry front() const { return (*this)[0]; }

    std::u16string oldName(size_t row) const;
    std::u16string newName(size_t row) const;
    std::string_view path(size_t row) const { return folders_[folderOf_[row]]; }
    bool root(size_t row) const { return flags_[row] & kRoot; }
    bool diff(size_t row) const { return flags_[row] & kDiff; }
    bool warning(size_t row) const { return flags_[row] & kWarning; }
    // The row's path on disk now, and after the run.
    std::string oldPath(size_t row) const { return pathOf(row, false); }
    std::string newPath(size_t row) const { return pathOf(row, true); }
    // The columns of a regular-expression step, or none.
    using Regex = std::shared_ptr<const std::array<std::u16string, 6>>;
    Regex regex(size_t row) const { return regex_.empty() ? nullptr : regex_[row]; }
    void setWarning(size_t row, bool warning);

    // Rows one after the other, each made as it is reached.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = PreviewEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = PreviewEntry;
        Iterator(const PreviewRows& rows, size_t row) : rows_(&rows), row_(row) {}
        PreviewEntry operator*() const { return (*rows_)[row_]; }
        Iterator& operator++() {
            ++row_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return row_ == other.row_; }

    private:
        const PreviewRows* rows_;
        size_t row_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    static constexpr std::uint8_t kRoot = 1, kDiff = 2, kWarning = 4;
    // The name is kept as UTF-16 code units, not one byte a character.
    static constexpr std::uint8_t kOldWide = 8, kNewWide = 16;

    // A row's old or new name as kept, whether it is kept as UTF-16, its path.
    std::string_view nameBytes(size_t row, bool isNew) const;
    bool isWide(size_t row, bool isNew) const;
    std::string pathOf(size_t row, bool isNew) const;
    void addRow(std::string_view names, std::uint32_t oldSize, std::string_view folder,
                std::uint8_t flags, const Regex& regex);

    TextList names_;                      // by row: the old name, then the new
    std::vector<std::uint32_t> oldSize_;  // by row: the bytes of the old name
    std::string scratch_;                 // the text of the row being added
    TextList folders_;                    // one for each run of rows in the same folder
    std::vector<std::uint32_t> folderOf_; // by row
    std::vector<std::uint8_t> flags_;     // by row
    // By row, once a row has them; empty while no row does.
    std::vector<Regex> regex_;
};

} // namespace morvane
