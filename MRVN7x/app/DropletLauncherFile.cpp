#include "MRVN7x/app/DropletLauncherFile.h"

#include "MRVN7x/app/DropletHandOver.h"
#include "platform/Bundle.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace morvane {
namespace {
// A desktop entry value: backslash, newline, tab and return escaped.
std::string escapeValue(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

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

// The program's path quoted for Exec: inside double quotes, '"', '`', '$'
// and '\' take a backslash; '%' is doubled (it starts field codes).
std::string DropletLauncherFile::execLine(const std::string& program) {
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    return quoted + "\" %F";
}

std::string DropletLauncherFile::contents(const std::string& dropletPath) {
    if (!DropletHandOver::isUtf8(dropletPath))
        return {};
    const std::string name = std::filesystem::path(dropletPath).stem().string();
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Version=1.5\n"
          << "Name=" << escapeValue(name) << "\n"
          << "Comment=Morvane droplet: drop files and folders here to rename them\n"
          << "Icon=morvane\n"
          << "Exec=" << escapeValue(execLine(Bundle::executablePath(dropletPath))) << "\n"
          << "Terminal=false\n"
          << "NoDisplay=true\n"
          << "MimeType=application/octet-stream;inode/directory;\n"
          << kMarkerKey << "=" << escapeValue(dropletPath) << "\n";
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
