#pragma once
// A droplet's "Settings.plist": what its program needs to hand the droplet
// over ("Droplet Settings") and the settings it hands to the application
// ("Host Application Settings": the chain and the global settings). The one
// reader and writer of the file, shared by the application, morvane-cli and
// the droplet program (which links it without the core library, so it uses
// nothing beyond the property-list layer).
#include "platform/PlistValue.h"
#include "platform/Result.h"

#include <optional>
#include <string>

namespace morvane {

class DropletSettingsFile {
public:
    static constexpr const char* kDropletSettings = "Droplet Settings";
    static constexpr const char* kHostSettings = "Host Application Settings";
    static constexpr const char* kDefaultLocation = "default location";
    static constexpr const char* kLocationKey = "location key";
    static constexpr const char* kTemporarySettingsKey = "temporary settings key";
    static constexpr const char* kCompositeAction = "composite action";
    static constexpr const char* kGlobalSettings = "global settings";

    // What the droplet program reads from "Droplet Settings".
    struct Handover {
        std::string defaultLocation;      // fallback path of the application
        std::string locationKey;          // the application's preferences domain
        std::string temporarySettingsKey; // the key the record goes under
    };

    // bundle/Contents/Resources/Settings.plist
    static std::string pathInBundle(const std::string& bundlePath);

    // The whole file for a chain (flat parameter list) and global settings.
    static plist::Dictionary make(const plist::Dictionary& compositeAction,
                                  const plist::Dictionary& globalSettings,
                                  const Handover& handover);
    // Writes the file atomically over any older one; false when it cannot.
    static bool write(const std::string& path, const plist::Dictionary& settings);

    // The settings for the application from a droplet folder, its
    // Settings.plist, or a file that holds a chain alone (a flat chain, or a
    // dictionary with "composite action"): always a dictionary with a
    // dictionary under "composite action", and "global settings" only when it
    // is a dictionary. A failure for anything else.
    static Result<plist::Dictionary> readHostSettings(const std::string& path);
    // The hand-over parameters of a droplet's Settings.plist (or its folder);
    // a failure when the file or an entry is missing or unusable (a location
    // key that is no plain domain name, an empty settings key).
    static Result<Handover> readHandover(const std::string& path);

private:
    static Result<plist::Dictionary> readFile(const std::string& path, std::string& file);
};

} // namespace morvane
