#include "platform/Bundle.h"

#include "platform/PlistValue.h"

#include <cstdlib>
#include <filesystem>

#ifndef MORVANE_BIN_TO_RESOURCES
#define MORVANE_BIN_TO_RESOURCES "../share/morvane"
#endif

namespace morvane::Bundle {
namespace {
std::optional<plist::Dictionary> infoDictionary(const std::string& bundlePath) {
    auto info = plist::readFile(bundlePath + "/Contents/Info.plist");
    if (!info || !info->asDictionary())
        return std::nullopt;
    return *info->asDictionary();
}

std::optional<std::int64_t> digits(const std::string& text) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    return std::stoll(text);
}
} // namespace

std::string applicationResourceFolder() {
    if (const char* folder = std::getenv("MORVANE_BUNDLE_RESOURCES"); folder && folder[0])
        return folder;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::string("/usr/share/morvane");
    return (program.parent_path() / MORVANE_BIN_TO_RESOURCES).lexically_normal().string();
}

std::string applicationBundlePath() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const auto bin = program.parent_path();
    const auto contents = bin.parent_path();
    if (bin.filename() == "bin" && contents.filename() == "Contents" &&
        contents.parent_path().extension() == ".app")
        return contents.parent_path().string();
    return program.string();
}

std::string resourceFolder(const std::string& bundlePath) {
    return bundlePath + "/Contents/Resources";
}

std::optional<std::int64_t> version(const std::string& bundlePath) {
    const auto info = infoDictionary(bundlePath);
    const plist::Value* value = info ? plist::find(*info, "CFBundleVersion") : nullptr;
    if (!value)
        return std::nullopt;
    if (const auto* number = value->asInteger())
        return *number;
    if (const auto* text = value->asString())
        return digits(*text);
    return std::nullopt;
}

std::string executablePath(const std::string& bundlePath) {
    const auto info = infoDictionary(bundlePath);
    const plist::Value* value = info ? plist::find(*info, "CFBundleExecutable") : nullptr;
    std::string name;
    if (value && value->asString())
        name = *value->asString();
    if (name.empty() || name.find('/') != name.npos)
        name = std::filesystem::path(bundlePath).stem().string();
    return bundlePath + "/Contents/bin/" + name;
}

} // namespace morvane::Bundle
