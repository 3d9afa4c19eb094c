#include "MRVN7x/actions/PreviewRows.h"

#include "platform/PathText.h"

#include <algorithm>
#include <cstring>
#include <unicode/utf8.h>

namespace morvane {
namespace {

bool isLatin1(std::u16string_view name) {
    return std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x100; });
}

// Appends the name one byte a character, or as its code units when wide.
void appendName(std::string& text, std::u16string_view name, bool wide) {
    if (wide)
        text.append(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(char16_t));
    else
        for (const char16_t c : name)
            text.push_back(static_cast<char>(c));
}

std::u16string nameOf(std::string_view bytes, bool wide) {
    std::u16string name(wide ? bytes.size() / sizeof(char16_t) : bytes.size(), u'\0');
    if (wide)
        std::memcpy(name.data(), bytes.data(), name.size() * sizeof(char16_t));
    else
        std::transform(bytes.begin(), bytes.end(), name.begin(),
                       [](char c) { return static_cast<unsigned char>(c); });
    return name;
}

// The path of a name kept one byte a character (each byte a character below
// U+0100): the bytes in UTF-8 with "/" as ":", as on disk, without making the
// name in UTF-16 first.
std::string pathOfLatin1Name(std::string_view folder, std::string_view name) {
    std::string path = PathText::join(folder, {});
    path.reserve(path.size() + name.size() * 2);
    const auto isAsIs = [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80 && byte != '/';
    };
    for (auto at = name.begin(); at != name.end();) {
        const auto run = std::find_if_not(at, name.end(), isAsIs);
        path.append(at, run);
        if (run == name.end())
            break;
        const auto c = static_cast<unsigned char>(*run);
        if (c == '/') {
            path.push_back(':');
        } else {
            char buffer[U8_MAX_LENGTH];
            size_t length = 0;
            U8_APPEND_UNSAFE(buffer, length, c);
            path.append(buffer, length);
        }
        at = run + 1;
    }
    return path;
}

} // namespace

void PreviewRows::reserve(size_t count) {
    names_.reserve(count);
    oldSize_.reserve(count);
    folderOf_.reserve(count);
    flags_.reserve(count);
}

void PreviewRows::push_back(const PreviewEntry& row) {
    const bool oldWide = !isLatin1(row.oldName), newWide = !isLatin1(row.newName);
    scratch_.clear();
    appendName(scratch_, row.oldName, oldWide);
    const auto oldSize = static_cast<std::uint32_t>(scratch_.size());
    appendName(scratch_, row.newName, newWide);
    addRow(scratch_, oldSize, row.path,
           static_cast<std::uint8_t>((row.root ? kRoot : 0) | (row.diff ? kDiff : 0) |
                                     (row.warning ? kWarning : 0) | (oldWide ? kOldWide : 0) |
                                     (newWide ? kNewWide : 0)),
           row.regex);
}

void PreviewRows::append(const PreviewRows& other) {
    reserve(size() + other.size());
    for (size_t row = 0; row < other.size(); ++row)
        addRow(other.names_[row], other.oldSize_[row], other.path(row), other.flags_[row],
               other.regex(row));
}

void PreviewRows::addRow(std::string_view names, std::uint32_t oldSize, std::string_view folder,
                         std::uint8_t flags, const Regex& regex) {
    names_.push_back(names);
    oldSize_.push_back(oldSize);
    if (folders_.empty() || folders_[folders_.size() - 1] != folder)
        folders_.push_back(folder);
    folderOf_.push_back(static_cast<std::uint32_t>(folders_.size() - 1));
    flags_.push_back(flags);
    if (regex || !regex_.empty()) {
        regex_.resize(flags_.size() - 1); // the rows before the first with columns have none
        regex_.push_back(regex);
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

std::string_view PreviewRows::nameBytes(size_t row, bool isNew) const {
    return isNew ? names_[row].substr(oldSize_[row]) : names_[row].substr(0, oldSize_[row]);
}

bool PreviewRows::isWide(size_t row, bool isNew) const {
    return flags_[row] & (isNew ? kNewWide : kOldWide);
}

std::u16string PreviewRows::oldName(size_t row) const {
    return nameOf(nameBytes(row, false), isWide(row, false));
}

std::u16string PreviewRows::newName(size_t row) const {
    return nameOf(nameBytes(row, true), isWide(row, true));
}

std::string PreviewRows::pathOf(size_t row, bool isNew) const {
    if (isWide(row, isNew))
        return PathText::pathOfDisplayName(path(row), nameOf(nameBytes(row, isNew), true));
    return pathOfLatin1Name(path(row), nameBytes(row, isNew));
}

void PreviewRows::setWarning(size_t row, bool warning) {
    flags_[row] =
        static_cast<std::uint8_t>(warning ? flags_[row] | kWarning : flags_[row] & ~kWarning);
}

} // namespace morvane
