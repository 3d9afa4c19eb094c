#pragma once
// Renames one item on disk by the mechanism chosen in the global setting
// "renameMode". Every mechanism refuses to replace an existing item.
//
//   0  file-manager script, keeping the item's comment; on this system it is
//      switched to 3 on first use (the setting is written through the key
//      interface, so observers see it)
//   1  move by paths; a change of case only goes through a temporary name
//   2  rename by display name within the folder
//   3  move within the same folder under the new display name
//
// On Linux all four end in renameat2(RENAME_NOREPLACE); a rename keeps the
// inode, so the comment (user.xdg.comment) survives every mechanism.
#include "MRVN7x/actions/BaseAction.h"
#include "platform/FileOperations.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

class DiskRenamer {
public:
    static constexpr const char* kCaseChangeTemporaryName =
        "this dummy file is used to temporarily stand in for the real file that will be renamed "
        "during a Cocoa case sensitive rename";
    static constexpr size_t kMaximumNameLength = 1024; // UTF-16 units

    // True when two display names differ in case only: such a rename may pass
    // kCaseChangeTemporaryName in the item's folder.
    static bool differsInCaseOnly(std::u16string_view a, std::u16string_view b);
    // The same for two names as stored on disk when both are ASCII without ":"
    // (such a name is its own display name); nothing for any other names.
    static std::optional<bool> plainNamesDifferInCaseOnly(std::string_view a, std::string_view b);

    // settings holds "renameMode" (the global settings).
    explicit DiskRenamer(BaseAction& settings);

    // Builds the rename script once.
    void initAppleScriptForRenaming();
    const std::string& script() const { return script_; }

    // The caller passes the new path as the current folder joined with the new
    // display name in path form. True exactly when the item now lives there.
    bool renameCurrentName(const std::u16string& currentName, const std::string& currentPath,
                           const std::u16string& newName, const std::string& newPath);
    // Closes the folder the last renames went through (they keep it open
    // for the next).
    void closeFolder() { inFolder_.close(); }
    bool renameFileViaAppleScript(const std::string& currentPath, const std::u16string& newName,
                                  const std::string& newPath);

private:
    bool moveByPaths(const std::u16string& currentName, const std::string& currentPath,
                     const std::u16string& newName, const std::string& newPath);
    bool renameInFolder(const std::string& currentPath, const std::u16string& newName,
                        const std::string& newPath);

    int mechanism();

    BaseAction& settings_;
    int mechanism_ = 0; // "renameMode" as read at mechanismGeneration_
    std::uint64_t mechanismGeneration_ = 0;
    std::string script_;
    FileOperations::OpenFolder inFolder_; // a run renames folder by folder
};

} // namespace morvane
