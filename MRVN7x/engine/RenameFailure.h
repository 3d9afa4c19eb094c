#pragma once
// Why an item could not get its new name, in words a user can act on: a rule
// of this system about names, or the operating system's reason with the limit
// that applies. Every failure text of a rename run is made here.
#include <optional>
#include <string>

namespace morvane {

class RenameFailure {
public:
    // The rule a new display name breaks (empty, "." or "..", a NUL character,
    // half a character); nothing when it can be tried on disk.
    static std::optional<RenameFailure> ofNewName(const std::u16string& newName);
    // The operating system refused, with errno error, to move oldPath to newPath.
    static RenameFailure ofSystemError(int error, const std::string& oldPath,
                                       const std::string& newPath);
    // Any other reason; error is its errno (0 for none).
    RenameFailure(int error, std::string reason) : error_(error), reason_(std::move(reason)) {}

    // The errno, 0 for a rule of this system.
    int error() const { return error_; }
    // Its symbolic name ("ENAMETOOLONG"); empty for a rule of this system.
    std::string errorName() const;
    // One line without the item's paths ("the new name is empty").
    const std::string& reason() const { return reason_; }
    // The same failure with more said after it ("; the item is now called ...").
    RenameFailure followedBy(const std::string& more) const;
    // The failure dialog's text about the item at oldPath: what failed, why,
    // what may help, and the question whether to go on.
    std::string dialogText(const std::string& oldPath) const;

private:
    int error_ = 0;
    std::string reason_;
};

} // namespace morvane
