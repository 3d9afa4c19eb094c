#include "MRVN7x/app/DropletSettingsFile.h"

#include <sys/stat.h>

namespace morvane {
namespace {
bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

const plist::Dictionary* dictionaryAt(const plist::Dictionary& dict, const char* key) {
    const plist::Value* value = plist::find(dict, key);
    return value ? value->asDictionary() : nullptr;
}

std::string textAt(const plist::Dictionary& dict, const char* key) {
    const plist::Value* value = plist::find(dict, key);
    return value && value->asString() ? *value->asString() : std::string();
}

// A domain name becomes a file name in the preferences folder: no folders,
// no hidden or relative names.
bool isPlainDomainName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}
} // namespace

std::string DropletSettingsFile::pathInBundle(const std::string& bundlePath) {
    return bundlePath + "/Contents/Resources/Settings.plist";
}

plist::Dictionary DropletSettingsFile::make(const plist::Dictionary& compositeAction,
                                            const plist::Dictionary& globalSettings,
                                            const Handover& handover) {
    plist::Dictionary droplet{{kDefaultLocation, handover.defaultLocation},
                              {kLocationKey, handover.locationKey},
                              {kTemporarySettingsKey, handover.temporarySettingsKey}};
    plist::Dictionary host{{kCompositeAction, compositeAction}, {kGlobalSettings, globalSettings}};
    return {{kDropletSettings, std::move(droplet)}, {kHostSettings, std::move(host)}};
}

bool DropletSettingsFile::write(const std::string& path, const plist::Dictionary& settings) {
    return plist::writeFileAtomically(path, plist::Value(settings));
}

Result<plist::Dictionary> DropletSettingsFile::readFile(const std::string& path,
                                                        std::string& file) {
    file = isFolder(path) ? pathInBundle(path) : path;
    auto value = plist::readFile(file);
    if (!value || !value->asDictionary())
        return Failure{0, "cannot read a property list from " + file};
    return std::move(*value->asDictionary());
}

Result<plist::Dictionary> DropletSettingsFile::readHostSettings(const std::string& path) {
    std::string file;
    auto dict = readFile(path, file);
    if (!dict)
        return dict;
    const plist::Dictionary* host = dictionaryAt(*dict, kHostSettings);
    if (!host && plist::find(*dict, kHostSettings))
        return Failure{0, file + ": \"" + kHostSettings + "\" is not a dictionary"};
    if (!host)
        host = &*dict;
    plist::Dictionary settings;
    if (const plist::Dictionary* chain = dictionaryAt(*host, kCompositeAction))
        settings[kCompositeAction] = *chain;
    else if (plist::find(*host, "composite actions array"))
        settings[kCompositeAction] = *host; // a flat chain on its own
    else
        return Failure{0, file + " holds no saved chain"};
    if (const plist::Dictionary* globals = dictionaryAt(*host, kGlobalSettings))
        settings[kGlobalSettings] = *globals;
    return settings;
}

Result<DropletSettingsFile::Handover> DropletSettingsFile::readHandover(const std::string& path) {
    std::string file;
    auto dict = readFile(path, file);
    if (!dict)
        return dict.failure();
    const plist::Dictionary* droplet = dictionaryAt(*dict, kDropletSettings);
    if (!droplet)
        return Failure{0, file + " has no \"" + kDropletSettings + "\""};
    Handover handover{textAt(*droplet, kDefaultLocation), textAt(*droplet, kLocationKey),
                      textAt(*droplet, kTemporarySettingsKey)};
    if (!isPlainDomainName(handover.locationKey))
        return Failure{0, file + ": \"" + kLocationKey + "\" names no preferences domain"};
    if (handover.temporarySettingsKey.empty())
        return Failure{0, file + ": \"" + kTemporarySettingsKey + "\" is empty"};
    return handover;
}

} // namespace morvane
