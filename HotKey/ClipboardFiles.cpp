#include "HotKey/ClipboardFiles.h"

#include <optional>

namespace tsyhotkey::ClipboardFiles {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "file:///a%20b" or "file://localhost/a" -> "/a b"; nothing for other URIs.
std::optional<std::string> pathOfFileUri(const std::string& uri) {
    std::string rest;
    if (uri.starts_with("file:///"))
        rest = uri.substr(7);
    else if (uri.starts_with("file://localhost/"))
        rest = uri.substr(16);
    else
        return std::nullopt;
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        int high = i + 1 < rest.size() ? hexValue(rest[i + 1]) : -1;
        int low = i + 2 < rest.size() ? hexValue(rest[i + 2]) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

} // namespace

std::vector<std::string> pathsFromUriList(const std::string& text) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#' || line == "copy" || line == "cut")
            continue;
        auto path = pathOfFileUri(line);
        if (!path)
            continue;
        paths.push_back(*path);
    }
    return paths;
}

} // namespace tsyhotkey::ClipboardFiles
