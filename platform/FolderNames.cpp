#include "platform/FolderNames.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace morvane {
namespace {

// Never kEmpty, which marks a free slot.
std::uint64_t hashOf(std::string_view name) {
    return std::hash<std::string_view>{}(name) | 1;
}

// File systems known to compare names byte for byte, except in a folder
// marked case-insensitive (ext4, f2fs and tmpfs can mark one). Others are
// left to the disk: vfat, exFAT, NTFS and shares ignore case, XFS may have
// been made so, and FUSE can be anything.
bool namesAreExact(int folder) {
    struct statfs system = {};
    if (fstatfs(folder, &system) != 0)
        return false;
    switch (static_cast<unsigned long>(system.f_type)) {
    case BTRFS_SUPER_MAGIC:
        return true;
    case EXT4_SUPER_MAGIC:
    case F2FS_SUPER_MAGIC:
    case TMPFS_MAGIC: {
        long flags = 0;
        return ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_CASEFOLD_FL) == 0;
    }
    default:
        return false;
    }
}

} // namespace

std::optional<FolderNames> FolderNames::read(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (!namesAreExact(fd)) {
        close(fd);
        return std::nullopt;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return std::nullopt;
    }
    std::vector<std::uint64_t> hashes;
    errno = 0;
    while (const dirent* item = readdir(dir))
        hashes.push_back(hashOf(item->d_name));
    const bool complete = errno == 0;
    closedir(dir);
    if (!complete)
        return std::nullopt; // a folder read in part cannot say what it lacks
    FolderNames names;
    names.slots_.assign(std::bit_ceil(std::max<size_t>(16, hashes.size() * 2)), kEmpty);
    for (const std::uint64_t hash : hashes) {
        size_t slot = names.firstSlot(hash);
        while (names.slots_[slot] != kEmpty && names.slots_[slot] != hash)
            slot = names.nextSlot(slot);
        names.slots_[slot] = hash;
    }
    return names;
}

bool FolderNames::mayHave(std::string_view name) const {
    const std::uint64_t hash = hashOf(name);
    for (size_t slot = firstSlot(hash);; slot = nextSlot(slot))
        if (slots_[slot] == hash)
            return true;
        else if (slots_[slot] == kEmpty)
            return false;
}

} // namespace morvane
