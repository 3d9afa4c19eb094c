#include "MRVN7x/lists/FileListWriter.h"

#include "platform/PathText.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

void FileListWriter::add(const std::string& path, const std::u16string& newName) {
    const std::string name = PathText::toUtf8(newName).value_or(toU8(newName));
    switch (layout_) {
    case 0:
        text_ += PathText::lastComponent(path) + "\t" + name + "\n";
        break;
    case 1:
        text_ += name + "\n";
        break;
    default:
        text_ += path + "\t" + name + "\n";
        break;
    }
}

bool FileListWriter::writeTo(const std::string& path) const {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool ok = true;
    size_t written = 0;
    while (ok && written < text_.size()) {
        const ssize_t n = ::write(fd, text_.data() + written, text_.size() - written);
        ok = n > 0;
        written += ok ? static_cast<size_t>(n) : 0;
    }
    ok = fchmod(fd, 0644) == 0 && fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

} // namespace morvane
