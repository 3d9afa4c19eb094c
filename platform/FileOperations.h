#pragma once
// Moving items on disk without ever replacing an existing item.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::FileOperations {

// Moves from to to; fails (errno EEXIST) when anything exists at to. Uses
// renameat2(RENAME_NOREPLACE); where the file system lacks it, a file is
// linked and unlinked, and a folder is moved only after checking that the
// target is free (the one case that is not atomic). Sets errno on failure.
bool moveNoReplace(const std::string& from, const std::string& to);

// Moves through temporaryName in the target's folder (for a target path that
// names the item itself, as a change of case does on a file system that
// ignores case). If the second move fails, the item goes back to from.
bool moveViaTemporaryName(const std::string& from, const std::string& to,
                          std::string_view temporaryName);
// moveNoReplace, except that a target which is the item itself under another
// case is not counted as an existing item.
bool moveItem(const std::string& from, const std::string& to, std::string_view temporaryName);

// What an item is on disk, whatever its name: a rename keeps all three.
struct ItemIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    char type = 0; // 'f' file, 'd' folder, 'l' symbolic link, 'o' other; 0 unknown
    bool operator==(const ItemIdentity&) const = default;
};
// The type letter of a struct stat's st_mode, and of a dirent's d_type.
char typeOfMode(unsigned mode);
char typeOfDirentType(unsigned char type);
// The identity of the item at path (a symbolic link itself); nothing when absent.
std::optional<ItemIdentity> identityOf(const std::string& path);

// True when something (a dangling symbolic link included) exists at path.
bool exists(const std::string& path);
// True when both paths name the same item on disk (same device and inode).
bool sameItem(const std::string& a, const std::string& b);

// Moves and lookups of many items of one folder after another, through a
// descriptor of the folder kept from one call to the next: the kernel then
// looks up a name instead of walking a whole path. The folder's path is
// checked to still lead to the kept folder at least every kCheckEvery calls
// and kCheckAfter; a folder moved away meanwhile is followed until the
// check, after which its items are looked for by path again (and so not
// found, as they are no longer there). A move between two folders, and a
// path that does not end in a name, go by path.
class OpenFolder {
public:
    static constexpr unsigned kCheckEvery = 256;
    static constexpr std::chrono::milliseconds kCheckAfter{50};

    OpenFolder() = default;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // As the functions of the same names above.
    bool moveNoReplace(const std::string& from, const std::string& to);
    bool moveItem(const std::string& from, const std::string& to, std::string_view temporaryName);
    std::optional<ItemIdentity> identityOf(const std::string& path);
    // Lets the kept folder go; the next call opens its folder again.
    void close();

private:
    int descriptorOf(std::string_view folder);

    std::string folder_;
    int descriptor_ = -1;
    std::uint64_t device_ = 0, inode_ = 0;
    unsigned callsSinceCheck_ = 0;
    std::chrono::nanoseconds checked_{}; // on the monotonic coarse clock
};

// The file-manager comment of an item (extended attribute user.xdg.comment).
bool readComment(const std::string& path, std::string& comment);
bool writeComment(const std::string& path, const std::string& comment);

} // namespace morvane::FileOperations

namespace morvane {
using FileOperations::ItemIdentity;
} // namespace morvane
