#pragma once
// Moving items on disk without ever replacing an existing item.
#include <string>

namespace morvane::FileOperations {

// Moves from to to; fails (errno EEXIST) when anything exists at to. Uses
// renameat2(RENAME_NOREPLACE); where the file system lacks it, a file is
// linked and unlinked, and a folder is moved only after checking that the
// target is free (the one case that is not atomic). Sets errno on failure.
bool moveNoReplace(const std::string& from, const std::string& to);

// True when something (a dangling symbolic link included) exists at path.
bool exists(const std::string& path);
// True when both paths name the same item on disk (same device and inode).
bool sameItem(const std::string& a, const std::string& b);

// The file-manager comment of an item (extended attribute user.xdg.comment).
bool readComment(const std::string& path, std::string& comment);
bool writeComment(const std::string& path, const std::string& comment);

} // namespace morvane::FileOperations
