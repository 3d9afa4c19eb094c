#include "platform/LoginItems.h"

#include "platform/Bundle.h"
#include "platform/DesktopEntry.h"
#include "platform/SystemLog.h"
#include "platform/XdgPaths.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace morvane {
namespace {
constexpr const char* kMarker = "X-Ossvale-Login-Item=true";

// A stable name for one path (FNV-1a), so the entry of a path is always the same file.
std::string hashOf(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char byte : text)
        hash = (hash ^ byte) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", hash);
    return digits;
}

bool hasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f)
            return true;
    return false;
}

bool isOurEntry(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line == kMarker)
            return true;
    return false;
}

std::optional<LoginItem> itemOf(const plist::Value& value) {
    const plist::Dictionary* entry = value.asDictionary();
    const plist::Value* path = entry ? plist::find(*entry, "Path") : nullptr;
    if (!path || !path->asString() || path->asString()->empty())
        return std::nullopt;
    const plist::Value* hide = plist::find(*entry, "Hide");
    return LoginItem{*path->asString(), hide && hide->numberValue().value_or(0) != 0};
}

bool writeEntry(const std::string& file, const LoginItem& item) {
    const std::string program = LoginItems::programOf(item.path);
    if (hasControlCharacter(item.path) || hasControlCharacter(program)) {
        SystemLog::warning("No autostart entry for a path with control characters");
        return false;
    }
    const std::string partial = file + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << "[Desktop Entry]\nType=Application\nName=" << fs::path(item.path).stem().string()
            << "\nExec=" << DesktopEntry::escapedValue(DesktopEntry::execArgument(program))
            << "\nTerminal=false\nNoDisplay=true\n"
            << kMarker << "\n";
        if (!out.flush())
            return false;
    }
    std::error_code error;
    fs::rename(partial, file, error);
    return !error;
}
} // namespace

LoginItems::LoginItems() : defaults_(kDomain) {}

std::string LoginItems::autostartFolder() {
    return XdgPaths::configHome() + "/autostart";
}

std::string LoginItems::autostartFile(const std::string& path) {
    std::string stem;
    for (char c : fs::path(path).stem().string())
        stem += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    return autostartFolder() + "/ossvale-" + stem + "-" + hashOf(path) + ".desktop";
}

std::string LoginItems::programOf(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path + "/Contents", error))
        return Bundle::executablePath(path);
    return path;
}

plist::Array LoginItems::stored() {
    defaults_.synchronize();
    const auto value = defaults_.objectForKey(kKey);
    return value && value->asArray() ? *value->asArray() : plist::Array{};
}

std::vector<LoginItem> LoginItems::items() {
    std::vector<LoginItem> result;
    for (const plist::Value& value : stored())
        if (auto item = itemOf(value))
            result.push_back(*item);
    return result;
}

bool LoginItems::add(const std::string& path, bool hide) {
    plist::Array items = stored();
    items.push_back(
        plist::Dictionary{{"Hide", plist::Value(hide ? 1 : 0)}, {"Path", plist::Value(path)}});
    return store(std::move(items));
}

bool LoginItems::removeContaining(const std::string& text) {
    plist::Array kept;
    for (plist::Value& value : stored()) {
        const auto item = itemOf(value);
        if (!item || item->path.find(text) == std::string::npos)
            kept.push_back(std::move(value));
    }
    return store(std::move(kept));
}

bool LoginItems::store(plist::Array items) {
    defaults_.setObject(kKey, items);
    const bool written = defaults_.synchronize();
    mirror(written ? items : stored());
    return written;
}

void LoginItems::mirror(const plist::Array& items) {
    std::set<std::string> wanted;
    if (!items.empty() && !XdgPaths::makeFolders(autostartFolder()))
        SystemLog::warning("Could not make " + autostartFolder());
    for (const plist::Value& value : items)
        if (auto item = itemOf(value)) {
            const std::string file = autostartFile(item->path);
            if (writeEntry(file, *item))
                wanted.insert(file);
            else
                SystemLog::warning("Could not write the autostart entry " + file);
        }
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(autostartFolder(), error)) {
        const std::string file = entry.path().string();
        if (entry.path().filename().string().starts_with("ossvale-") &&
            entry.path().extension() == ".desktop" && !wanted.contains(file) &&
            isOurEntry(entry.path()))
            fs::remove(entry.path(), error);
    }
}

} // namespace morvane
