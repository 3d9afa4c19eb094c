#include "MRVN7x/app/DropletLauncherFile.h"

#include "MRVN7x/app/DropletHandOver.h"
#include "platform/Bundle.h"
#include "platform/DesktopEntry.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace morvane {
namespace {
bool isOurs(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(std::string(DropletLauncherFile::kMarkerKey) + "=", 0) == 0)
            return true;
    return false;
}
} // namespace

std::string DropletLauncherFile::pathFor(const std::string& dropletPath) {
    const std::filesystem::path path(dropletPath);
    return (path.parent_path() / path.stem()).string() + ".desktop";
}

std::string DropletLauncherFile::execLine(const std::string& program) {
    return DesktopEntry::execArgument(program) + " %F";
}

std::string DropletLauncherFile::contents(const std::string& dropletPath) {
    if (!DropletHandOver::isUtf8(dropletPath))
        return {};
    const std::string name = std::filesystem::path(dropletPath).stem().string();
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Version=1.5\n"
          << "Name=" << DesktopEntry::escapedValue(name) << "\n"
          << "Comment=Morvane droplet: drop files and folders here to rename them\n"
          << "Icon=morvane\n"
          << "Exec=" << DesktopEntry::escapedValue(execLine(Bundle::executablePath(dropletPath)))
          << "\n"
          << "Terminal=false\n"
          << "NoDisplay=true\n"
          << "MimeType=application/octet-stream;inode/directory;\n"
          << kMarkerKey << "=" << DesktopEntry::escapedValue(dropletPath) << "\n";
    return entry.str();
}

bool DropletLauncherFile::write(const std::string& dropletPath) {
    const std::string text = contents(dropletPath);
    const std::string path = pathFor(dropletPath);
    struct stat info {};
    if (text.empty() || (lstat(path.c_str(), &info) == 0 && !isOurs(path)))
        return false;
    const std::string aside = path + ".part";
    {
        std::ofstream out(aside, std::ios::trunc);
        out << text;
        if (!out.flush())
            return false;
    }
    chmod(aside.c_str(), 0755);
    std::error_code error;
    std::filesystem::rename(aside, path, error);
    if (!error)
        return true;
    std::filesystem::remove(aside, error);
    return false;
}

} // namespace morvane
