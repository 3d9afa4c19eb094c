#include "MRVN7x/app/FileListReader.h"

#include "platform/FileSpecification.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "platform/XdgPaths.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <map>

namespace morvane {
namespace {

// Reads records until a read returns fewer than a record's bytes.
std::vector<FileSpecification> readRecords(int fd) {
    std::vector<FileSpecification> items;
    FileSpecification::Record record{};
    for (;;) {
        std::size_t got = 0;
        while (got < record.size()) {
            const ssize_t n = ::read(fd, record.data() + got, record.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (got < record.size())
            return items;
        items.push_back(FileSpecification::fromRecord(record));
    }
}

// Records of one folder are common (a selection in one window): each folder
// is searched for once.
std::vector<std::string> pathsOf(const std::vector<FileSpecification>& items) {
    std::map<std::pair<std::int16_t, std::int32_t>, std::optional<std::string>> folders;
    std::vector<std::string> paths;
    for (const FileSpecification& item : items) {
        const auto key = std::make_pair(item.volume(), item.parentFolder());
        auto folder = folders.find(key);
        if (folder == folders.end())
            folder =
                folders.emplace(key, FileSpecification::folderPath(key.first, key.second)).first;
        const auto path =
            folder->second ? FileSpecification::itemIn(*folder->second, item.name()) : std::nullopt;
        if (path)
            paths.push_back(*path);
        else
            SystemLog::notice("hand-over: an item named \"" + item.name() + "\" no longer exists");
    }
    return paths;
}

} // namespace

std::vector<std::string> FileListReader::handOverFilePaths() {
    const std::string folder = UserDefaults::defaultFolder();
    return {folder + "/Morvane Pref", folder + "/mrvn test"};
}

std::optional<std::vector<std::string>> FileListReader::readFileList() {
    if (!XdgPaths::makeFolders(UserDefaults::defaultFolder()))
        return std::nullopt;
    for (const std::string& file : handOverFilePaths()) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0 && errno == ENOENT)
            continue;
        if (fd < 0)
            return std::nullopt;
        const auto items = readRecords(fd);
        ::close(fd);
        ::unlink(file.c_str());
        return pathsOf(items);
    }
    return std::nullopt;
}

} // namespace morvane
