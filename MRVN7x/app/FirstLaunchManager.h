#pragma once
// What happens at every launch before the settings are read: the bundle's
// "location" is recorded, leftovers of an incompatible old installation are
// removed, installed components older than the bundle's copies are upgraded;
// and at the first launch of this version the preferences start afresh and
// the user chooses the components in the Component Setup window.
#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"
#include "MRVN7x/app/UserInterfacePort.h"

#include <memory>
#include <string>
#include <vector>

namespace morvane {

class UserDefaults;

class FirstLaunchManager {
public:
    static constexpr int kFirstLaunchVersion = 75600;

    FirstLaunchManager(UserDefaults& defaults, UserInterfacePort& port, std::string bundlePath,
                       std::unique_ptr<MRVNInstallationManager> manager =
                           std::make_unique<MRVNInstallationManager>());

    void doIt();
    bool isFirstLaunch() const { return isFirstLaunch_; }

    // The items an incompatible older version left behind.
    static std::vector<std::string> oldInstallationPaths();

private:
    void removeOldInstallation();
    // True when a file-manager restart fell due.
    bool upgradeComponents();
    void resetPreferences();
    struct ChoicesApplied {
        bool contextMenuTouched = false; // a file-manager restart fell due
        bool failed = false;             // some install or removal failed
    };
    // Installs and removes the components as chosen.
    ChoicesApplied applyChoices(const ComponentChoices& choices);

    UserDefaults& defaults_;
    UserInterfacePort& port_;
    std::string bundlePath_;
    std::unique_ptr<MRVNInstallationManager> manager_;
    bool isFirstLaunch_ = false;
};

} // namespace morvane
