#pragma once
// The program inside every droplet bundle. Started with files (dropped on the
// droplet's launcher, or given on the command line) it hands them with the
// droplet's settings to Morvane for one run; started without files it hands
// over the settings for editing. See DropletHandOver for the protocol.
#include "MRVN7x/app/DropletSettingsFile.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

class UserDefaults;

class DropletProgram {
public:
    static constexpr std::chrono::seconds kDefaultTimeout{30};

    // bundlePath: the droplet ("X.app"); files: absolute paths.
    DropletProgram(std::string bundlePath, std::vector<std::string> files);

    // 0 when Morvane took the droplet's record, 1 with a message otherwise.
    int run();
    const std::string& message() const { return message_; }

    // The droplet bundle of the running program (X.app/Contents/bin/program),
    // nothing when it does not run inside one.
    static std::optional<std::string> ownBundle();
    // How long to wait for the slot and for Morvane: $MORVANE_DROPLET_TIMEOUT
    // (seconds) when set, else kDefaultTimeout.
    static std::chrono::milliseconds timeout();

private:
    // The program of the application: "location" in its domain, else the
    // droplet's "default location"; a bundle folder or a program.
    std::optional<std::string> applicationProgram(UserDefaults& domain,
                                                  const DropletSettingsFile::Handover& handover);
    int fail(std::string message);

    std::string bundlePath_;
    std::vector<std::string> files_;
    std::string message_;
};

} // namespace morvane
