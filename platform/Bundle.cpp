#include "platform/Bundle.h"

#include "platform/PlistValue.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#ifndef MORVANE_BIN_TO_RESOURCES
#define MORVANE_BIN_TO_RESOURCES "../lib/morvane/Morvane 7.app/Contents/Resources"
#endif
#ifndef MORVANE_BUILD_TREE
#define MORVANE_BUILD_TREE "/nonexistent"
#define MORVANE_BUILD_RESOURCES ""
#endif

namespace morvane::Bundle {
namespace fs = std::filesystem;
namespace {
std::optional<plist::Dictionary> infoDictionary(const std::string& bundlePath) {
    auto info = plist::readFile(bundlePath + "/Contents/Info.plist");
    if (!info || !info->asDictionary())
        return std::nullopt;
    return *info->asDictionary();
}

// The running program's path; empty when /proc cannot tell.
fs::path runningProgram() {
    std::error_code error;
    auto program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

// "X.app" when program is X.app/Contents/bin/program.
std::optional<fs::path> enclosingApplication(const fs::path& program) {
    const auto bin = program.parent_path();
    const auto contents = bin.parent_path();
    if (bin.filename() == "bin" && contents.filename() == "Contents" &&
        contents.parent_path().extension() == ".app")
        return contents.parent_path();
    return std::nullopt;
}

bool isInside(const fs::path& path, const fs::path& folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
           folder.end();
}

// The application's resource folder without a trailing slash.
fs::path applicationResources() {
    std::string folder = applicationResourceFolder();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return fs::path(folder).lexically_normal();
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
    const auto program = runningProgram();
    if (program.empty())
        return std::string("/usr/lib/morvane/Morvane 7.app/Contents/Resources");
    if (const auto bundle = enclosingApplication(program))
        return resourceFolder(bundle->string());
    if (isInside(program, MORVANE_BUILD_TREE))
        return MORVANE_BUILD_RESOURCES;
    return (program.parent_path() / MORVANE_BIN_TO_RESOURCES).lexically_normal().string();
}

std::string applicationBundlePath() {
    const auto program = runningProgram();
    if (program.empty())
        return {};
    if (const auto bundle = enclosingApplication(program))
        return bundle->string();
    // A program outside the bundle (the command line, the tests) belongs to
    // the bundle whose resources it uses.
    const fs::path resources = applicationResources();
    const fs::path contents = resources.parent_path();
    if (resources.filename() == "Resources" && contents.filename() == "Contents" &&
        contents.parent_path().extension() == ".app")
        return contents.parent_path().string();
    return program.string();
}

std::string applicationProgram() {
    return executablePath(applicationResources().parent_path().parent_path().string());
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
