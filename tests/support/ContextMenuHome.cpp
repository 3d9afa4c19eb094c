#include "tests/support/ContextMenuHome.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace morvane::test {

ContextMenuHome::ContextMenuHome() {
    set("XDG_CONFIG_HOME", configHome());
    // No system-wide Thunar actions to start from.
    set("XDG_CONFIG_DIRS", home / "system-config");
    set("MORVANE_BUNDLE_RESOURCES", bundle() + "/Contents/Resources");
}

std::string ContextMenuHome::bundle() {
    return std::string(MORVANE_BINARY_DIR) + "/Morvane 7.app";
}

std::string ContextMenuHome::nautilusScript() const {
    return dataHome() + "/nautilus/scripts/Rename with Morvane";
}
std::string ContextMenuHome::dolphinMenu() const {
    return dataHome() + "/kio/servicemenus/tessary-rename-with-morvane.desktop";
}
std::string ContextMenuHome::dolphin5Menu() const {
    return dataHome() + "/kservices5/ServiceMenus/tessary-rename-with-morvane.desktop";
}
std::string ContextMenuHome::nemoAction() const {
    return dataHome() + "/nemo/actions/tessary-rename-with-morvane.nemo_action";
}
std::string ContextMenuHome::thunarActions() const {
    return configHome() + "/Thunar/uca.xml";
}

std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> items;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto status = entry.symlink_status();
        std::string description = std::to_string(int(status.type())) + " " +
                                  std::to_string(unsigned(status.permissions())) + " ";
        if (fs::is_symlink(status))
            description += fs::read_symlink(entry.path()).string();
        else if (fs::is_regular_file(status))
            description += readFile(entry.path().string());
        items[entry.path().string()] = description;
    }
    return items;
}

std::string keyFileValue(const std::string& path, const std::string& group,
                         const std::string& key) {
    std::ifstream in(path);
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            inGroup = line == "[" + group + "]";
            continue;
        }
        if (!inGroup || line.rfind(key + "=", 0) != 0)
            continue;
        std::string value;
        for (size_t i = key.size() + 1; i < line.size(); ++i) {
            if (line[i] != '\\' || i + 1 == line.size()) {
                value += line[i];
                continue;
            }
            const char next = line[++i];
            value += next == 's' ? ' ' : next == 'n' ? '\n' : next == 't' ? '\t' : next;
        }
        return value;
    }
    return {};
}

} // namespace morvane::test
