#include "cli/PreviewTable.h"

#include "MRVN7x/filelist/PathIndex.h"
#include "cli/Json.h"
#include "platform/FolderNames.h"
#include "platform/HelperThread.h"
#include "platform/PathText.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace morvane::cli {

namespace {
// The columns a text takes on a terminal: wide and full-width characters two,
// combining marks and format characters none, everything else one.
size_t displayWidth(const std::string& utf8) {
    size_t width = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            ++width; // a byte that is not UTF-8 shows as one replacement character
            continue;
        }
        const int32_t category = u_getIntPropertyValue(c, UCHAR_GENERAL_CATEGORY_MASK);
        if (category & (U_GC_MN_MASK | U_GC_ME_MASK | U_GC_CF_MASK))
            continue;
        const int32_t east = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
        width += east == U_EA_WIDE || east == U_EA_FULLWIDTH ? 2 : 1;
    }
    return width;
}

// A name as the bytes it has on disk.
std::string nameBytes(std::u16string_view name) {
    return PathText::toUtf8(name).value_or(toU8(name));
}

} // namespace

std::string shownText(const std::string& bytes) {
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    std::string shown;
    char escaped[12];
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0 || c < 0x20 || c == 0x7f) {
            for (int32_t b = start; b < i; ++b) {
                std::snprintf(escaped, sizeof escaped, "\\x%02X", s[b]);
                shown += escaped;
            }
        } else if (c >= 0x80 && c < 0xa0) {
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            shown += escaped;
        } else {
            shown.append(bytes, size_t(start), size_t(i - start));
        }
    }
    return shown;
}

namespace {

std::string shownName(const std::u16string& name) {
    return shownText(nameBytes(name));
}

// What is on disk in the rows' folders. A folder where many rows look is
// read once (its names as hashes); in others, and where the names could not
// be read so, each name is looked up on disk.
class NamesOnDisk {
public:
    explicit NamesOnDisk(const PreviewRows& rows) {
        std::unordered_map<std::string_view, size_t> lookups;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows.diff(i))
                ++lookups[rows.path(i)];
        for (const auto& [folder, count] : lookups)
            if (count >= kReadWholeFolder)
                read_.emplace(folder, FolderNames::read(std::string(folder)));
    }

    // The item at path, unless its folder's names show there is none. A path
    // of an empty name ends in "/" and names the folder: it is looked up.
    bool identityAt(std::string_view folder, const std::string& path, struct stat& item) const {
        const auto read = read_.find(folder);
        if (read != read_.end() && read->second && !path.ends_with('/') &&
            !read->second->mayHave(PathText::lastComponentView(path)))
            return false;
        return lstat(path.c_str(), &item) == 0;
    }

private:
    static constexpr size_t kReadWholeFolder = 1024;
    std::unordered_map<std::string_view, std::optional<FolderNames>> read_;
};

void printLegend(bool changed, bool clash, bool exists, std::FILE* out) {
    if (!changed && !clash && !exists)
        return;
    std::string legend;
    if (changed)
        legend += "  * new name";
    if (clash)
        legend += "  ! same new name as another item";
    if (exists)
        legend += "  x new name exists, will be skipped";
    std::fprintf(out, "Marks:%s\n", legend.c_str());
}

} // namespace

void writePreviewRow(JsonWriter& json, const PreviewRows& rows, size_t row, bool exists) {
    json.beginObject()
        .member("oldName", rows.oldName(row))
        .member("newName", rows.newName(row))
        .member("path", rows.path(row))
        .member("root", rows.root(row))
        .member("diff", rows.diff(row))
        .member("warning", rows.warning(row))
        .member("exists", exists);
    if (const auto regex = rows.regex(row))
        for (size_t i = 0; i < 6; ++i)
            json.member("regex" + std::to_string(i + 1), (*regex)[i]);
    json.endObject();
}

// The rows whose new name is already taken on disk by something that is not
// in the list (and so will not move away first): the run will skip them.
std::vector<bool> takenNewNames(const PreviewRows& rows) {
    const auto oldPathOf = [&rows](size_t i) { return rows.oldPath(i); };
    std::optional<PathIndex<decltype(oldPathOf)>> listed;
    std::optional<NamesOnDisk> disk;
    // The folders are read while the list's paths are indexed.
    withHelperThread([&] { listed.emplace(rows.size(), oldPathOf); }, [&] { disk.emplace(rows); });
    const auto isTaken = [&](size_t i) {
        if (!rows.diff(i))
            return false;
        const std::string target = rows.newPath(i);
        struct stat there = {};
        struct stat item = {};
        if (listed->find(target) != kPathNotFound || !disk->identityAt(rows.path(i), target, there))
            return false;
        // A new name differing only in case on a file system that ignores case
        // finds the item itself.
        const bool itself = lstat(rows.oldPath(i).c_str(), &item) == 0 &&
                            item.st_dev == there.st_dev && item.st_ino == there.st_ino;
        return !itself;
    };
    // Each half of the rows on a thread of its own (one byte a row: a bit
    // vector's words would be shared where the halves meet).
    std::vector<char> taken(rows.size(), false);
    const auto check = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            taken[i] = isTaken(i);
    };
    const size_t half = rows.size() / 2;
    withHelperThread([&] { check(0, half); }, [&] { check(half, rows.size()); });
    return {taken.begin(), taken.end()};
}

void printPreviewTable(const PreviewRows& entries, const std::vector<bool>& taken, std::FILE* out) {
    const bool colour = isatty(fileno(out));
    size_t nameWidth = 12, newWidth = 8;
    for (const auto& e : entries) {
        nameWidth = std::max(nameWidth, displayWidth(shownName(e.oldName)));
        newWidth = std::max(newWidth, displayWidth(shownName(e.newName)));
    }
    auto pad = [](const std::string& s, size_t width) {
        return s + std::string(width - std::min(width, displayWidth(s)), ' ');
    };
    std::fprintf(out, "   %s  %s  %s\n", pad("CURRENT NAME", nameWidth).c_str(),
                 pad("NEW NAME", newWidth).c_str(), "FOLDER");
    bool changed = false, clash = false, exists = false;
    for (size_t i = 0; i < entries.size(); ++i) {
        const PreviewEntry& e = entries[i];
        const bool warn = e.warning || taken[i];
        const char* mark = e.warning ? "!" : taken[i] ? "x" : e.diff ? "*" : " ";
        const char* on = !colour ? "" : warn ? "\033[31m" : e.diff ? "\033[32m" : "";
        const char* off = colour && (warn || e.diff) ? "\033[0m" : "";
        std::fprintf(out, "%s%s  %s  %s%s  %s\n", on, mark,
                     pad(shownName(e.oldName), nameWidth).c_str(),
                     pad(shownName(e.newName), newWidth).c_str(), off, shownText(e.path).c_str());
        changed |= *mark == '*';
        clash |= *mark == '!';
        exists |= *mark == 'x';
    }
    printLegend(changed, clash, exists, out);
}

} // namespace morvane::cli
