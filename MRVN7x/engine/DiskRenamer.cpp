#include "MRVN7x/engine/DiskRenamer.h"

#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/engine/RenameFailure.h"
#include "platform/FileOperations.h"
#include "platform/PathText.h"
#include "platform/ScriptRunner.h"
#include "platform/SystemVersion.h"

#include <algorithm>
#include <cerrno>

namespace morvane {
namespace {

// Whether a display name can be a name in a folder (it then has a UTF-8
// form); if not, errno says why (RenameFailure words it).
bool isUsableName(const std::u16string& displayName) {
    if (displayName.size() > DiskRenamer::kMaximumNameLength) {
        errno = ENAMETOOLONG;
        return false;
    }
    if (RenameFailure::ofNewName(displayName)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

bool moveItem(const std::string& from, const std::string& to) {
    return FileOperations::moveItem(from, to, DiskRenamer::kCaseChangeTemporaryName);
}

// Two different ASCII names that are one but for the case of their letters.
template <typename Char>
bool asciiDiffersInCaseOnly(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    const auto lower = [](Char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return a != b && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](Char x, Char y) { return lower(x) == lower(y); });
}
} // namespace

bool DiskRenamer::differsInCaseOnly(std::u16string_view a, std::u16string_view b) {
    if (a == b)
        return false;
    // Plain ASCII names (most of them) are compared without ICU.
    const auto ascii = [](std::u16string_view s) {
        return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
    };
    if (ascii(a) && ascii(b))
        return asciiDiffersInCaseOnly(a, b);
    return UnicodeText::equals(std::u16string(a), std::u16string(b), kCaseInsensitiveSearch);
}

std::optional<bool> DiskRenamer::plainNamesDifferInCaseOnly(std::string_view a,
                                                            std::string_view b) {
    if (!PathText::isPlainName(a) || !PathText::isPlainName(b))
        return std::nullopt;
    return asciiDiffersInCaseOnly(a, b);
}

DiskRenamer::DiskRenamer(BaseAction& settings) : settings_(settings) {
    initAppleScriptForRenaming();
}

void DiskRenamer::initAppleScriptForRenaming() {
    script_ = ScriptRunner::renameScript();
}

bool DiskRenamer::renameCurrentName(const std::u16string& currentName,
                                    const std::string& currentPath, const std::u16string& newName,
                                    const std::string& newPath) {
    if (newName.size() > kMaximumNameLength) {
        errno = ENAMETOOLONG;
        return false;
    }
    switch (mechanism()) {
    case 0:
        if (!SystemVersion::isLeopard())
            return renameFileViaAppleScript(currentPath, newName, newPath);
        settings_.setValueForKey("renameMode", plist::Value(3));
        return renameInFolder(currentPath, newName, newPath);
    case 1:
        return moveByPaths(currentName, currentPath, newName, newPath);
    case 2:
    case 3:
        return renameInFolder(currentPath, newName, newPath);
    default:
        errno = EINVAL; // no such mechanism
        return false;
    }
}

// The setting is read again only after a change of the settings: a run asks
// for every item.
int DiskRenamer::mechanism() {
    if (mechanismGeneration_ != settings_.parametersGeneration()) {
        mechanism_ = settings_.getParamInt("renameMode", 0);
        mechanismGeneration_ = settings_.parametersGeneration();
    }
    return mechanism_;
}

bool DiskRenamer::renameFileViaAppleScript(const std::string& currentPath,
                                           const std::u16string& newName,
                                           const std::string& newPath) {
    auto displayName = PathText::toUtf8(newName);
    if (!isUsableName(newName) || !displayName)
        return false;
    return ScriptRunner::callHandler(script_, "filerename", {currentPath, *displayName, newPath});
}

// Mechanism 1 works on paths. A change of case starts from the current path
// and passes through the temporary name, so it works whether or not the file
// system respects case; if the second move fails the item gets its old name back.
bool DiskRenamer::moveByPaths(const std::u16string& currentName, const std::string& currentPath,
                              const std::u16string& newName, const std::string& newPath) {
    if (!isUsableName(newName))
        return false;
    if (differsInCaseOnly(currentName, newName))
        return FileOperations::moveViaTemporaryName(currentPath, newPath, kCaseChangeTemporaryName);
    return moveItem(currentPath, newPath);
}

bool DiskRenamer::renameInFolder(const std::string& currentPath, const std::u16string& newName,
                                 const std::string& newPath) {
    if (!isUsableName(newName))
        return false;
    return inFolder_.moveItem(currentPath, newPath, kCaseChangeTemporaryName);
}

} // namespace morvane
