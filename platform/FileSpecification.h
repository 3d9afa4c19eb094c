#pragma once
// An item named by a volume, its parent folder and its name: the form in which
// the context-menu component hands items over, one 70-byte record each
// (16-bit volume reference, 32-bit parent folder identifier, a length byte and
// 63 bytes of name, in the machine's byte order, without padding).
//
// On this system:
//   volume        -1 for the first mounted file system in order of device
//                 number, -2 for the second, ... (as /proc/self/mountinfo
//                 lists them while the record is read or written);
//   parentFolder  the parent folder's inode number, which must fit in 32 bits
//                 (an item whose folder has a larger inode cannot be named);
//   name          the item's last path component, at most 63 bytes.
// Turning a record into a path searches the folders of that file system for
// the inode: the home folder first, then the whole file system from where it
// is mounted, without crossing into other file systems or following links,
// and never more than a fixed number of folders.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

class FileSpecification {
public:
    static constexpr std::size_t kRecordSize = 70;
    static constexpr std::size_t kMaxNameBytes = 63;
    using Record = std::array<unsigned char, kRecordSize>;

    FileSpecification(std::int16_t volume, std::int32_t parentFolder, std::string name);

    // The record that names an existing item; nothing when it cannot be named
    // this way (no such item, a name over 63 bytes, a folder inode over 32 bits).
    static std::optional<FileSpecification> forPath(const std::string& path);
    static FileSpecification fromRecord(const Record& record);

    Record record() const;
    // The path of the item named, when it exists; nothing otherwise.
    std::optional<std::string> path() const;
    // The folder a volume and folder identifier name, when it exists (the
    // search behind path(), for callers that resolve many items of one folder).
    static std::optional<std::string> folderPath(std::int16_t volume, std::int32_t parentFolder);
    // The item called name in folder, when it is a plain name (not empty, "."
    // or "..", no "/") and the item exists.
    static std::optional<std::string> itemIn(const std::string& folder, const std::string& name);

    std::int16_t volume() const { return volume_; }
    std::int32_t parentFolder() const { return parentFolder_; }
    const std::string& name() const { return name_; }

private:
    std::int16_t volume_;
    std::int32_t parentFolder_;
    std::string name_;
};

} // namespace morvane
