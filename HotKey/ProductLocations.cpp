#include "HotKey/ProductLocations.h"

#include "platform/ApplicationFolders.h"

#include <sys/stat.h>

namespace tsyhotkey {

using morvane::ApplicationFolders::applicationPath;
using morvane::ApplicationFolders::applicationSupportFolder;
using morvane::ApplicationFolders::utilityApplicationPath;

ProductLocations::ProductLocations()
    : morvaneDomain_("net.halvard.mrvn7"), quenby4Domain_("net.halvard.qnby4"),
      tambrel2Domain_("net.halvard.tmbl2") {}

bool ProductLocations::fileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool ProductLocations::isInstalled(Product product) {
    switch (product) {
    case Product::Morvane:
        return isMRVNInstalled();
    case Product::Pirnow:
        return isPRNWInstalled();
    case Product::Quenby:
        return isQNBYInstalled();
    case Product::Grulkan:
        return isGRLKNInstalled();
    case Product::Tambrel:
        return isTMBLInstalled();
    }
    return false;
}

std::string ProductLocations::locate(morvane::UserDefaults& domain,
                                     const std::string& applicationName) {
    domain.synchronize();
    if (auto location = domain.objectForKey("location")) {
        const std::string* text = location->asString();
        if (text && !text->empty())
            return *text;
    }
    std::string path = applicationPath(applicationName);
    if (fileExists(path))
        return path;
    return utilityApplicationPath(applicationName);
}

std::string ProductLocations::morvanePath() {
    return locate(morvaneDomain_, "Morvane 7.app");
}
std::string ProductLocations::quenby4Path() {
    return locate(quenby4Domain_, "Quenby 4.app");
}
std::string ProductLocations::tambrel2Path() {
    return locate(tambrel2Domain_, "Tambrel 2.app");
}

bool ProductLocations::isMRVNInstalled() {
    return fileExists(morvanePath());
}
bool ProductLocations::isPRNWInstalled() {
    return testIfTSYFileExists("Pirnow.app").has_value();
}
bool ProductLocations::isGRLKNInstalled() {
    return testIfTSYFileExists("TSY Grulkan.app").has_value();
}
bool ProductLocations::isQNBY3Installed() {
    return testIfTSYFileExists("Quenby.app").has_value();
}
bool ProductLocations::isQNBY4Installed() {
    return fileExists(quenby4Path());
}
bool ProductLocations::isQNBYInstalled() {
    return isQNBY3Installed() || isQNBY4Installed();
}
bool ProductLocations::isTMBL1Installed() {
    return testIfTSYFileExists("Tambrel.app").has_value();
}
bool ProductLocations::isTMBL2Installed() {
    return fileExists(tambrel2Path());
}
bool ProductLocations::isTMBLInstalled() {
    return isTMBL2Installed() || isTMBL1Installed();
}

std::optional<std::string> ProductLocations::getTMBL2ExecutablePath() {
    std::string path = tambrel2Path();
    if (!fileExists(path))
        return std::nullopt;
    return path;
}

std::optional<std::string> ProductLocations::testIfTSYFileExists(const std::string& name) {
    std::string path = applicationSupportFolder() + "/" + name;
    if (name.empty() || !fileExists(path))
        return std::nullopt;
    return path;
}

} // namespace tsyhotkey
