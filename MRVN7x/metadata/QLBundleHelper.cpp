#include "MRVN7x/metadata/QLBundleHelper.h"

#include "platform/PathText.h"
#include "platform/Resources.h"

#include <algorithm>
#include <mutex>
#include <sys/stat.h>

namespace morvane {
namespace {

struct LoadedBundles {
    std::mutex mutex;
    std::vector<std::string> folders; // in load order
};

LoadedBundles& loaded() {
    static LoadedBundles bundles;
    return bundles;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A resource name is one file name: no folder parts, so a name cannot reach
// outside the bundles.
bool isPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

} // namespace

std::optional<std::string> QLBundleHelper::findPListInBundles(const std::string& name) {
    if (!isPlainName(name))
        return std::nullopt;
    const std::string fileName = name + ".plist";
    if (Resources::bytes(name, "plist"))
        return kOwnResourcePrefix + fileName;
    for (const std::string& folder : loadedBundles()) {
        const std::string candidate = PathText::join(folder, fileName);
        if (isRegularFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<plist::Value> QLBundleHelper::plistAtPath(const std::string& path) {
    const std::string prefix = kOwnResourcePrefix;
    if (path.rfind(prefix, 0) != 0)
        return plist::readFile(path);
    std::string fileName = path.substr(prefix.size());
    const std::string type = ".plist";
    if (fileName.size() <= type.size() ||
        fileName.compare(fileName.size() - type.size(), type.size(), type) != 0)
        return std::nullopt;
    fileName.resize(fileName.size() - type.size());
    return Resources::plist(fileName);
}

std::optional<std::vector<std::string>> QLBundleHelper::stringArrayAtPath(const std::string& path) {
    const auto value = plistAtPath(path);
    const plist::Array* array = value ? value->asArray() : nullptr;
    if (!array)
        return std::nullopt;
    std::vector<std::string> texts;
    texts.reserve(array->size());
    for (const plist::Value& item : *array)
        texts.push_back(item.asString() ? *item.asString() : std::string());
    return texts;
}

std::optional<std::vector<std::string>> QLBundleHelper::findStringArray(const std::string& name) {
    const auto path = findPListInBundles(name);
    if (!path)
        return std::nullopt;
    return stringArrayAtPath(*path);
}

void QLBundleHelper::addLoadedBundle(const std::string& resourcesFolder) {
    auto& bundles = loaded();
    std::lock_guard lock(bundles.mutex);
    if (std::find(bundles.folders.begin(), bundles.folders.end(), resourcesFolder) ==
        bundles.folders.end())
        bundles.folders.push_back(resourcesFolder);
}

void QLBundleHelper::removeLoadedBundle(const std::string& resourcesFolder) {
    auto& bundles = loaded();
    std::lock_guard lock(bundles.mutex);
    std::erase(bundles.folders, resourcesFolder);
}

std::string QLBundleHelper::missingMessage(const std::string& name) {
    std::string message = Resources::missingMessage(name + ".plist");
    const std::vector<std::string> folders = loadedBundles();
    for (size_t i = 0; i < folders.size(); ++i)
        message += (i ? ", " : ", nor in the bundle folders ") + folders[i];
    return message;
}

std::vector<std::string> QLBundleHelper::loadedBundles() {
    auto& bundles = loaded();
    std::lock_guard lock(bundles.mutex);
    return bundles.folders;
}

} // namespace morvane
