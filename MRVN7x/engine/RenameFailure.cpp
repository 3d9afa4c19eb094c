#include "MRVN7x/engine/RenameFailure.h"

#include "platform/FileOperations.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace morvane {
namespace {

constexpr const char* kAccessParagraph =
    "You may not have sufficient access privileges to rename the file, the file may be on a "
    "read-only media, an incompatible external drive or unsupported remote file system or it "
    "may be locked.";
constexpr const char* kQuestion =
    "Do you want to continue renaming the remaining files or do you want to skip them?";

// Errors the paragraph about access privileges and media can explain.
bool aboutAccess(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case EIO:
    case EOPNOTSUPP:
    case ENOSYS:
        return true;
    default:
        return false;
    }
}

// The limit a name too long for the folder's file system broke: its bytes
// against the longest name there, else the whole path against the longest path.
std::string lengthLimit(const std::string& newPath) {
    const std::string_view name = PathText::lastComponentView(newPath);
    const std::string folder(PathText::folderView(newPath));
    const long nameMax = pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t limit = nameMax > 0 ? static_cast<size_t>(nameMax) : NAME_MAX;
    if (name.size() > limit)
        return "the new name has " + std::to_string(name.size()) + " bytes, the limit is " +
               std::to_string(limit);
    return "the new path has " + std::to_string(newPath.size()) + " bytes, the limit is " +
           std::to_string(PATH_MAX - 1);
}

// What the error means for this rename, where the error alone does not say it.
std::string detailOf(int error, const std::string& oldPath, const std::string& newPath) {
    switch (error) {
    case ENAMETOOLONG:
        return lengthLimit(newPath);
    case ENOENT:
        return FileOperations::exists(oldPath) ? std::string()
                                               : "the item is no longer at " + oldPath;
    case EEXIST:
        return "another item is called " + newPath;
    default:
        return {};
    }
}

} // namespace

std::optional<RenameFailure> RenameFailure::ofNewName(const std::u16string& newName) {
    if (newName.empty())
        return RenameFailure(0, "the new name is empty");
    if (newName == u"." || newName == u"..")
        return RenameFailure(0, "the new name \"" + toU8(newName) + "\" is not allowed");
    // Most names are printable ASCII, which holds neither NUL nor half a character.
    if (std::all_of(newName.begin(), newName.end(),
                    [](char16_t c) { return c >= 0x20 && c < 0x7F; }))
        return std::nullopt;
    if (newName.find(u'\0') != std::u16string::npos)
        return RenameFailure(0, "the new name holds a NUL character, which is not allowed");
    if (!PathText::isEncodable(newName))
        return RenameFailure(0, "the new name holds half a character (a lone UTF-16 surrogate), "
                                "which cannot be written");
    return std::nullopt;
}

RenameFailure RenameFailure::ofSystemError(int error, const std::string& oldPath,
                                           const std::string& newPath) {
    if (error == 0)
        return RenameFailure(0, "the operating system gave no reason");
    const std::string detail = detailOf(error, oldPath, newPath);
    return RenameFailure(error, std::strerror(error) + (detail.empty() ? "" : " (" + detail + ")"));
}

std::string RenameFailure::errorName() const {
    if (error_ == 0)
        return {};
    const char* name = strerrorname_np(error_);
    return name ? name : "errno " + std::to_string(error_);
}

RenameFailure RenameFailure::followedBy(const std::string& more) const {
    return RenameFailure(error_, reason_ + "; " + more);
}

std::string RenameFailure::dialogText(const std::string& oldPath) const {
    // The path goes in literally: a name holding "%@" or "%d" is shown as it is.
    std::string because = reason_;
    if (!because.empty() && because[0] >= 'a' && because[0] <= 'z')
        because[0] = static_cast<char>(because[0] - 'a' + 'A');
    std::string text =
        "The program was unable to rename the file " + oldPath + ".\n\n" + because + ".\n\n";
    if (aboutAccess(error_))
        text += std::string(kAccessParagraph) + "\n\n";
    return text + kQuestion;
}

} // namespace morvane
