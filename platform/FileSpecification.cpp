#include "platform/FileSpecification.h"

#include "platform/XdgPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace morvane {
namespace {

// Enough for a home folder of many projects; a record whose folder lies
// deeper in a bigger file system is skipped rather than searched for minutes.
constexpr std::size_t kMaxFoldersSearched = 200000;

// "\040" and the like in mountinfo fields.
std::string unescapeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                           std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                       [](char c) { return c >= '0' && c <= '7'; });
        if (octal) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// Each mounted file system once, by device number, with the folder where its
// root is mounted (a bind mount of a subfolder only when nothing better exists).
std::map<dev_t, std::string> mountedFileSystems() {
    std::map<dev_t, std::string> mounts;
    std::map<dev_t, bool> mountsWholeRoot;
    std::ifstream table("/proc/self/mountinfo");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        if (!(fields >> id >> parent >> device >> root >> mountPoint))
            continue;
        unsigned major = 0, minor = 0;
        if (std::sscanf(device.c_str(), "%u:%u", &major, &minor) != 2)
            continue;
        const dev_t dev = makedev(major, minor);
        const bool wholeRoot = root == "/";
        auto known = mounts.find(dev);
        if (known == mounts.end() || (wholeRoot && !mountsWholeRoot[dev])) {
            mounts[dev] = unescapeMountField(mountPoint);
            mountsWholeRoot[dev] = wholeRoot;
        }
    }
    return mounts;
}

std::optional<std::int16_t> volumeOf(dev_t device) {
    const auto mounts = mountedFileSystems();
    const auto found = mounts.find(device);
    if (found == mounts.end())
        return std::nullopt;
    const auto index = std::distance(mounts.begin(), found);
    if (index >= 0x7fff)
        return std::nullopt;
    return static_cast<std::int16_t>(-1 - index);
}

std::optional<std::pair<dev_t, std::string>> fileSystemOf(std::int16_t volume) {
    if (volume >= 0)
        return std::nullopt;
    const auto mounts = mountedFileSystems();
    const std::size_t index = static_cast<std::size_t>(-1 - volume);
    if (index >= mounts.size())
        return std::nullopt;
    const auto found = std::next(mounts.begin(), static_cast<std::ptrdiff_t>(index));
    return std::make_pair(found->first, found->second);
}

bool isFolderOn(const std::string& path, dev_t device, ino_t inode) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_dev == device &&
           info.st_ino == inode;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// Breadth first below start, on one file system, links never followed.
std::optional<std::string> searchFolder(const std::string& start, dev_t device, ino_t inode) {
    if (isFolderOn(start, device, inode))
        return start;
    std::deque<std::string> queue{start};
    std::size_t searched = 0;
    while (!queue.empty() && searched++ < kMaxFoldersSearched) {
        const std::string folder = std::move(queue.front());
        queue.pop_front();
        DIR* dir = opendir(folder.c_str());
        if (!dir)
            continue;
        struct stat info {};
        if (fstat(dirfd(dir), &info) != 0 || info.st_dev != device) {
            closedir(dir);
            continue;
        }
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == ".." ||
                (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN))
                continue;
            const std::string child = joined(folder, name);
            if (entry->d_ino == inode && isFolderOn(child, device, inode)) {
                closedir(dir);
                return child;
            }
            queue.push_back(child);
        }
        closedir(dir);
    }
    return std::nullopt;
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name.size() <= FileSpecification::kMaxNameBytes && name != "." &&
           name != ".." && name.find('/') == name.npos && name.find('\0') == name.npos;
}

} // namespace

FileSpecification::FileSpecification(std::int16_t volume, std::int32_t parentFolder,
                                     std::string name)
    : volume_(volume), parentFolder_(parentFolder), name_(std::move(name)) {}

std::optional<FileSpecification> FileSpecification::forPath(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == path.npos)
        return std::nullopt;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    struct stat item {
    }, parent{};
    if (!isPlainName(name) || lstat(path.c_str(), &item) != 0 ||
        stat(folder.c_str(), &parent) != 0 || parent.st_ino > 0xffffffffu)
        return std::nullopt;
    const auto volume = volumeOf(parent.st_dev);
    if (!volume)
        return std::nullopt;
    return FileSpecification(
        *volume, static_cast<std::int32_t>(static_cast<std::uint32_t>(parent.st_ino)), name);
}

FileSpecification FileSpecification::fromRecord(const Record& record) {
    std::int16_t volume = 0;
    std::int32_t parentFolder = 0;
    std::memcpy(&volume, record.data(), sizeof volume);
    std::memcpy(&parentFolder, record.data() + 2, sizeof parentFolder);
    const std::size_t length = std::min<std::size_t>(record[6], kMaxNameBytes);
    return FileSpecification(volume, parentFolder,
                             std::string(reinterpret_cast<const char*>(record.data() + 7), length));
}

FileSpecification::Record FileSpecification::record() const {
    Record record{};
    std::memcpy(record.data(), &volume_, sizeof volume_);
    std::memcpy(record.data() + 2, &parentFolder_, sizeof parentFolder_);
    const std::size_t length = std::min(name_.size(), kMaxNameBytes);
    record[6] = static_cast<unsigned char>(length);
    std::memcpy(record.data() + 7, name_.data(), length);
    return record;
}

std::optional<std::string> FileSpecification::folderPath(std::int16_t volume,
                                                         std::int32_t parentFolder) {
    const auto fileSystem = fileSystemOf(volume);
    if (!fileSystem)
        return std::nullopt;
    const auto [device, mountPoint] = *fileSystem;
    const ino_t inode = static_cast<std::uint32_t>(parentFolder);
    struct stat home {};
    const std::string homeFolder = XdgPaths::home();
    if (stat(homeFolder.c_str(), &home) == 0 && home.st_dev == device)
        if (auto found = searchFolder(homeFolder, device, inode))
            return found;
    return searchFolder(mountPoint, device, inode);
}

std::optional<std::string> FileSpecification::itemIn(const std::string& folder,
                                                     const std::string& name) {
    const std::string item = joined(folder, name);
    struct stat info {};
    if (!isPlainName(name) || lstat(item.c_str(), &info) != 0)
        return std::nullopt;
    return item;
}

std::optional<std::string> FileSpecification::path() const {
    if (!isPlainName(name_))
        return std::nullopt;
    const auto folder = folderPath(volume_, parentFolder_);
    return folder ? itemIn(*folder, name_) : std::nullopt;
}

} // namespace morvane
