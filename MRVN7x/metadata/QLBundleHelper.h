#pragma once
// Finds property-list resources by name: first among the application's own
// resources, then in the loaded bundles, in the order they were loaded.
//
// The application's own resources are compiled into the core library, so they
// have no file of their own; their path is written with kOwnResourcePrefix
// ("resource:datePatterns.plist"), which no absolute path can start with.
// plistAtPath() reads either kind of path.
#include "platform/PlistValue.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

class QLBundleHelper {
public:
    QLBundleHelper() = delete;

    static constexpr const char* kOwnResourcePrefix = "resource:";

    // The path of the resource NAME.plist, or nothing when no bundle has it.
    static std::optional<std::string> findPListInBundles(const std::string& name);

    // The property list at a path that findPListInBundles answered; nothing
    // when it is missing or does not parse.
    static std::optional<plist::Value> plistAtPath(const std::string& path);
    // The array of texts at that path (an entry that is not a text reads as the
    // empty text); nothing when the list is missing or not an array.
    static std::optional<std::vector<std::string>> stringArrayAtPath(const std::string& path);
    // findPListInBundles and stringArrayAtPath in one step.
    static std::optional<std::vector<std::string>> findStringArray(const std::string& name);
    // The report for a property list NAME.plist found nowhere: the resources
    // looked through and the loaded bundle folders.
    static std::string missingMessage(const std::string& name);

    // Records a loaded bundle by its resources folder (absolute); later loads
    // are searched later. Loading the same folder again changes nothing.
    static void addLoadedBundle(const std::string& resourcesFolder);
    static void removeLoadedBundle(const std::string& resourcesFolder);
    static std::vector<std::string> loadedBundles();
};

} // namespace morvane
