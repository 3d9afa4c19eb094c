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

std::optional<plist::Dictionary>
DropletSettingsFile::readFile(const std::string& path, std::string& file, std::string& error) {
    file = isFolder(path) ? pathInBundle(path) : path;
    auto value = plist::readFile(file);
    if (!value || !value->asDictionary()) {
        error = "cannot read a property list from " + file;
        return std::nullopt;
    }
    return std::move(*value->asDictionary());
}

std::optional<plist::Dictionary> DropletSettingsFile::readHostSettings(const std::string& path,
                                                                       std::string& error) {
    std::string file;
    auto dict = readFile(path, file, error);
    if (!dict)
        return std::nullopt;
    const plist::Dictionary* host = dictionaryAt(*dict, kHostSettings);
    if (!host && plist::find(*dict, kHostSettings)) {
        error = file + ": \"" + kHostSettings + "\" is not a dictionary";
        return std::nullopt;
    }
    if (!host)
        host = &*dict;
    plist::Dictionary settings;
    if (const plist::Dictionary* chain = dictionaryAt(*host, kCompositeAction))
        settings[kCompositeAction] = *chain;
    else if (plist::find(*host, "composite actions array"))
        settings[kCompositeAction] = *host; // a flat chain on its own
    else {
        error = file + " holds no saved chain";
        return std::nullopt;
    }
    if (const plist::Dictionary* globals = dictionaryAt(*host, kGlobalSettings))
        settings[kGlobalSettings] = *globals;
    return settings;
}

std::optional<DropletSettingsFile::Handover>
DropletSettingsFile::readHandover(const std::string& path, std::string& error) {
    std::string file;
    auto dict = readFile(path, file, error);
    if (!dict)
        return std::nullopt;
    const plist::Dictionary* droplet = dictionaryAt(*dict, kDropletSettings);
    if (!droplet) {
        error = file + " has no \"" + kDropletSettings + "\"";
        return std::nullopt;
    }
    Handover handover{textAt(*droplet, kDefaultLocation), textAt(*droplet, kLocationKey),
                      textAt(*droplet, kTemporarySettingsKey)};
    if (!isPlainDomainName(handover.locationKey)) {
        error = file + ": \"" + kLocationKey + "\" names no preferences domain";
        return std::nullopt;
    }
    if (handover.temporarySettingsKey.empty()) {
        error = file + ": \"" + kTemporarySettingsKey + "\" is empty";
        return std::nullopt;
    }
    return handover;
}

} // namespace morvane
