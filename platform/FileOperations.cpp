#include "platform/FileOperations.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace morvane::FileOperations {
namespace {
constexpr const char* commentAttribute = "user.xdg.comment";

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
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (!lacksNoReplace(errno))
        return false;
    return moveWithoutRenameat2(from, to);
}

bool moveViaTemporaryName(const std::string& from, const std::string& to,
                          const std::string& temporaryName) {
    auto slash = to.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash);
    const std::string temporary = folder + "/" + temporaryName;
    if (!moveNoReplace(from, temporary))
        return false;
    if (moveNoReplace(temporary, to))
        return true;
    const int saved = errno;
    moveNoReplace(temporary, from);
    errno = saved;
    return false;
}

bool moveItem(const std::string& from, const std::string& to, const std::string& temporaryName) {
    if (moveNoReplace(from, to))
        return true;
    if (errno == EEXIST && sameItem(from, to))
        return moveViaTemporaryName(from, to, temporaryName);
    return false;
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
