#include "platform/FileOperations.h"

#include "platform/PathText.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace morvane::FileOperations {
namespace {
constexpr const char* commentAttribute = "user.xdg.comment";

// Test hook, off unless MORVANE_TEST_KILL_AFTER_RENAMES=K is set: the process
// kills itself right after its K-th successful rename, before anything else
// (a journal mark, a second half) can follow. The tests place kills exactly
// with it; a normal run never sets it.
void killAfterRenameForTests() {
    static const long limit = [] {
        const char* text = std::getenv("MORVANE_TEST_KILL_AFTER_RENAMES");
        return text ? std::atol(text) : 0L;
    }();
    static long count = 0;
    if (limit > 0 && ++count == limit)
        raise(SIGKILL);
}

bool lacksNoReplace(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Checks that the target is free, then renames: not atomic, the last resort
// for folders and for file systems without hard links.
bool moveAfterCheck(const std::string& from, const std::string& to) {
    if (exists(to)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool moveWithoutRenameat2(const std::string& from, const std::string& to) {
    struct stat info {};
    if (lstat(from.c_str(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode)) {
        // link() refuses an existing target, so nothing can be replaced.
        if (link(from.c_str(), to.c_str()) != 0)
            return errno == EEXIST ? false : moveAfterCheck(from, to);
        if (unlink(from.c_str()) != 0) {
            int saved = errno;
            unlink(to.c_str());
            errno = saved;
            return false;
        }
        return true;
    }
    return moveAfterCheck(from, to);
}
} // namespace

bool moveNoReplace(const std::string& from, const std::string& to) {
    bool moved = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
    if (!moved && lacksNoReplace(errno))
        moved = moveWithoutRenameat2(from, to);
    if (moved)
        killAfterRenameForTests();
    return moved;
}

bool moveViaTemporaryName(const std::string& from, const std::string& to,
                          std::string_view temporaryName) {
    auto slash = to.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash);
    const std::string temporary = folder + "/" + std::string(temporaryName);
    if (!moveNoReplace(from, temporary))
        return false;
    if (moveNoReplace(temporary, to))
        return true;
    const int saved = errno;
    moveNoReplace(temporary, from);
    errno = saved;
    return false;
}

namespace {
// After a move refused for a taken target: a target that is the item itself
// under another case (on a file system that ignores case) is reached through
// the temporary name.
bool moveOntoItself(const std::string& from, const std::string& to,
                    std::string_view temporaryName) {
    return errno == EEXIST && sameItem(from, to) && moveViaTemporaryName(from, to, temporaryName);
}
} // namespace

bool moveItem(const std::string& from, const std::string& to, std::string_view temporaryName) {
    return moveNoReplace(from, to) || moveOntoItself(from, to, temporaryName);
}

namespace {
ItemIdentity identityOfStat(const struct stat& info) {
    return ItemIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino), typeOfMode(info.st_mode)};
}

// The folder of a path that ends in a name, and where the name starts.
struct FolderAndName {
    std::string_view folder;
    size_t nameAt;
};
std::optional<FolderAndName> splitPath(std::string_view path) {
    const size_t slash = PathText::lastSlash(path);
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    return FolderAndName{slash == 0 ? path.substr(0, 1) : path.substr(0, slash), slash + 1};
}
} // namespace

OpenFolder::~OpenFolder() {
    close();
}

void OpenFolder::close() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    folder_.clear();
}

namespace {
// The time of the folder checks. The coarse clock (a few milliseconds' steps,
// plenty for a bound of 50) costs a fraction of the precise one, and a run
// reads it for every rename.
std::chrono::nanoseconds coarseNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}
} // namespace

int OpenFolder::descriptorOf(std::string_view folder) {
    const auto now = coarseNow();
    const bool kept = descriptor_ >= 0 && folder == folder_;
    if (kept && ++callsSinceCheck_ < kCheckEvery && now - checked_ < kCheckAfter)
        return descriptor_;
    struct stat there {};
    if (kept && stat(folder_.c_str(), &there) == 0 && there.st_dev == device_ &&
        there.st_ino == inode_) {
        callsSinceCheck_ = 0;
        checked_ = now;
        return descriptor_;
    }
    close();
    if (kept)
        return -1; // moved away or gone: this call goes by path, the next opens the path again
    descriptor_ = open(std::string(folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ < 0 || fstat(descriptor_, &there) != 0) {
        close();
        return -1;
    }
    folder_ = folder;
    device_ = there.st_dev;
    inode_ = there.st_ino;
    callsSinceCheck_ = 0;
    checked_ = now;
    return descriptor_;
}

bool OpenFolder::moveNoReplace(const std::string& from, const std::string& to) {
    const auto source = splitPath(from), target = splitPath(to);
    const int folder =
        source && target && source->folder == target->folder ? descriptorOf(source->folder) : -1;
    if (folder < 0)
        return FileOperations::moveNoReplace(from, to);
    // The names end where the paths do, so they need no copies of their own.
    if (renameat2(folder, from.c_str() + source->nameAt, folder, to.c_str() + target->nameAt,
                  RENAME_NOREPLACE) == 0) {
        killAfterRenameForTests();
        return true;
    }
    return lacksNoReplace(errno) && FileOperations::moveNoReplace(from, to);
}

bool OpenFolder::moveItem(const std::string& from, const std::string& to,
                          std::string_view temporaryName) {
    return moveNoReplace(from, to) || moveOntoItself(from, to, temporaryName);
}

std::optional<ItemIdentity> OpenFolder::identityOf(const std::string& path) {
    const auto place = splitPath(path);
    const int folder = place ? descriptorOf(place->folder) : -1;
    if (folder < 0)
        return FileOperations::identityOf(path);
    struct stat info {};
    if (fstatat(folder, path.c_str() + place->nameAt, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return identityOfStat(info);
}

char typeOfMode(unsigned mode) {
    switch (mode & S_IFMT) {
    case S_IFREG:
        return 'f';
    case S_IFDIR:
        return 'd';
    case S_IFLNK:
        return 'l';
    default:
        return 'o';
    }
}

char typeOfDirentType(unsigned char type) {
    switch (type) {
    case DT_REG:
        return 'f';
    case DT_DIR:
        return 'd';
    case DT_LNK:
        return 'l';
    case DT_UNKNOWN:
        return 0;
    default:
        return 'o';
    }
}

std::optional<ItemIdentity> identityOf(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return identityOfStat(info);
}

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool sameItem(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return lstat(a.c_str(), &first) == 0 && lstat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool readComment(const std::string& path, std::string& comment) {
    ssize_t size = lgetxattr(path.c_str(), commentAttribute, nullptr, 0);
    if (size < 0)
        return false;
    comment.resize(static_cast<size_t>(size));
    size = lgetxattr(path.c_str(), commentAttribute, comment.data(), comment.size());
    if (size < 0)
        return false;
    comment.resize(static_cast<size_t>(size));
    return true;
}

bool writeComment(const std::string& path, const std::string& comment) {
    return lsetxattr(path.c_str(), commentAttribute, comment.data(), comment.size(), 0) == 0;
}

} // namespace morvane::FileOperations
