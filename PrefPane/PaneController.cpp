#include "PrefPane/PaneController.h"

#include "HotKey/KeyTable.h"
#include "platform/ApplicationFolders.h"
#include "platform/Bundle.h"
#include "platform/FileOperations.h"
#include "platform/LoginItems.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"
#include "platform/XdgPaths.h"

namespace tessary {
namespace {
using morvane::plist::Dictionary;
using morvane::plist::Value;
using tsyhotkey::AppController;

struct ProductName {
    Product product;
    const char* name;
};
constexpr ProductName kNames[] = {{Product::Morvane, "Morvane"},
                                  {Product::Pirnow, "Pirnow"},
                                  {Product::Quenby, "Quenby"},
                                  {Product::Grulkan, "Grulkan"},
                                  {Product::Tambrel, "Tambrel"}};
// The order of the default records, of the rows, and of saving.
constexpr Product kDefaultsOrder[] = {Product::Tambrel, Product::Quenby, Product::Pirnow,
                                      Product::Grulkan, Product::Morvane};
constexpr Product kRowOrder[] = {Product::Morvane, Product::Pirnow, Product::Quenby,
                                 Product::Grulkan, Product::Tambrel};
constexpr Product kSaveOrder[] = {Product::Grulkan, Product::Quenby, Product::Morvane,
                                  Product::Pirnow, Product::Tambrel};

constexpr const char* kHotKeyItem = "TSY HotKey";
constexpr const char* kTambrelItem = "Tambrel";

// The program's default record of a product; Tambrel's has no switch.
Value defaultRecord(Product product) {
    const Dictionary defaults = AppController::createDefaultValueDictionary();
    Dictionary record = *defaults.at(AppController::productKey(product)).asDictionary();
    if (product == Product::Tambrel)
        record.erase("switchedOn");
    return Value(record);
}
} // namespace

PaneController::PaneController(std::string bundlePath, AlertPort& alerts)
    : bundlePath_(std::move(bundlePath)), alerts_(alerts),
      hotKeyDefaults_(tsyhotkey::kHotKeyDomain) {}

const std::vector<std::string>& PaneController::keyArray() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> names;
        for (const auto& entry : tsyhotkey::KeyTable::entries())
            names.emplace_back(entry.name);
        return names;
    }();
    return keys;
}

std::optional<std::uint16_t> PaneController::keyCodeOfString(const std::string& name) {
    return tsyhotkey::KeyTable::keyCodeForName(name);
}

bool PaneController::keyCodeAllowedWithoutModifier(const std::string& name) {
    return tsyhotkey::KeyTable::allowedWithoutModifierForName(name).value_or(false);
}

std::string PaneController::installedHotKeyPath() {
    return morvane::XdgPaths::libraryPath(std::string(kInstallationFolder) + kHotKeyName);
}

std::string PaneController::oldHotKeyPath() {
    return morvane::XdgPaths::libraryPath("~/Library/Application Support/TSY HotKey.app");
}

std::string PaneController::quitScriptPath() const {
    return morvane::Bundle::resourceFolder(bundlePath_) + "/quitHotKey.sh";
}

std::string PaneController::tambrelPath() {
    return tsyhotkey::ProductLocations::testIfTSYFileExists("Tambrel.app")
        .value_or(morvane::ApplicationFolders::applicationPath("Tambrel.app"));
}

morvane::InstallationComponent PaneController::hotKeyComponent() const {
    morvane::InstallationComponent component;
    component.setBundle(bundlePath_);
    component.setInstallationLocation(kInstallationFolder);
    component.setLocationWithinResourceBundle(kHotKeyName);
    return component;
}

morvane::InstallationComponent PaneController::oldHotKeyComponent() {
    morvane::InstallationComponent component;
    component.setInstallationLocation("~/Library/Application Support/");
    component.setLocationWithinResourceBundle(kHotKeyName);
    return component;
}

void PaneController::inform(const char* title, const char* text) {
    alerts_.runAlert({AlertStyle::Informational, title, text, {"OK"}});
}

void PaneController::init() {
    declined_ = false;
}

void PaneController::willSelect() {
    keyCodeOfString("R");
    hotKeyData_.clear();
    contexts_.clear();
    for (const ProductName& product : kNames) {
        const char* key = AppController::productKey(product.product);
        if (product.product == Product::Tambrel)
            contexts_.push_back(std::make_unique<TMBLProductContext>(product.name, key, *this));
        else
            contexts_.push_back(std::make_unique<ProductContext>(product.name, key, *this));
    }
    writeMissingDefaults();
    for (Product product : kRowOrder)
        if (locations_.isInstalled(product)) {
            contexts_[static_cast<std::size_t>(product)]->getHotKeyDictionary();
            hotKeyData_.push_back(contexts_[static_cast<std::size_t>(product)].get());
        }
    hotKeyInstalled_ = morvane::FileOperations::exists(installedHotKeyPath());
    if (contentChanged_)
        contentChanged_();
}

void PaneController::writeMissingDefaults() {
    hotKeyDefaults_.synchronize();
    for (Product product : kDefaultsOrder) {
        const char* key = AppController::productKey(product);
        if (!locations_.isInstalled(product) || hotKeyDefaults_.hasStoredValue(key))
            continue;
        hotKeyDefaults_.setObject(key, defaultRecord(product));
        hotKeyDefaults_.synchronize();
    }
}

void PaneController::didSelect() {
    removeOldVersion();
    suggestTambrel();
    upgradeIfOlder();
}

void PaneController::removeOldVersion() {
    if (!morvane::FileOperations::exists(oldHotKeyPath()))
        return;
    inform("Incompatible old hot key component was found.",
           "An older version of the hot key component was found. The component will be removed "
           "in order to avoid compatibility problems.");
    const bool removed = oldHotKeyComponent().uninstall();
    internalUninstallHotKey();
    if (removed)
        inform("The old hot key component was successfully removed.",
               "Please use the 'Install Hot Key Component' button to restore the functionality "
               "and update it to the latest version.");
    else
        inform("The old component could not be removed.", "This may disrupt hot key support.");
}

void PaneController::suggestTambrel() {
    if (!locations_.isInstalled(Product::Tambrel) ||
        morvane::FileOperations::exists(installedHotKeyPath()) || declined_)
        return;
    const AlertAnswer answer = alerts_.runAlert(
        {AlertStyle::Informational,
         "Tambrel is installed, but not operable.",
         "Tambrel is installed, but requires some additional components. The hot key component "
         "brings up Tambrel when you press its hot key (F1 unless you choose another one in "
         "this preference pane).\n\nDo you wish to install the required components now?",
         {"Install Required Components", "Do Not Install"}});
    if (answer == AlertAnswer::First)
        installHotKey();
    else
        declined_ = true;
}

void PaneController::upgradeIfOlder() {
    if (!morvane::FileOperations::exists(installedHotKeyPath()))
        return;
    const auto older = hotKeyComponent().needsUpgrading();
    if (!older) {
        alerts_.runAlert({AlertStyle::Warning, older.message(), "", {"OK"}});
        return;
    }
    if (!*older)
        return;
    inform("A newer version of the hot key component was found.",
           "The old version will now be upgraded.");
    internalUninstallHotKey();
    installHotKey();
}

void PaneController::installHotKey() {
    const morvane::InstallationComponent component = hotKeyComponent();
    const bool copied = component.install();
    morvane::LoginItems loginItems;
    loginItems.removeContaining(kHotKeyItem);
    loginItems.add(component.installedPath(), true);
    const bool opened = component.launch();
    const bool tambrel = locations_.isInstalled(Product::Tambrel);
    if (!opened || !copied)
        alerts_.runAlert({AlertStyle::Warning,
                          "Installation failure.",
                          "At least one step of the installation process did not complete "
                          "correctly.\n\nThe hot key component may not have been correctly "
                          "installed.",
                          {"OK"}});
    else if (tambrel)
        inform("Additional components successfully installed.",
               "You may now use the hot key combinations to launch your Tessary products.\n\n"
               "Tambrel is now operable again and will appear after you click the \"OK\" "
               "button.");
    else
        inform("Hot key component successfully installed.",
               "You may now use the hot key combinations to launch your Tessary products.");
    if (tambrel) {
        morvane::Workspace::launchApplication(tambrelPath());
        loginItems.removeContaining(kTambrelItem);
        loginItems.add(tambrelPath(), true);
    }
    willSelect();
}

void PaneController::uninstallHotKey() {
    if (locations_.isInstalled(Product::Tambrel)) {
        const AlertAnswer answer = alerts_.runAlert(
            {AlertStyle::Critical,
             "Tambrel will become inoperable if you choose to continue.",
             "The hot key component is required to activate Tambrel via its hot key.\n\n"
             "Removing it will prevent you from bringing up Tambrel until the component is "
             "re-installed.",
             {"Cancel Uninstall", "Uninstall Anyway"}});
        if (answer == AlertAnswer::First)
            return;
    } else {
        const AlertAnswer answer = alerts_.runAlert(
            {AlertStyle::Warning,
             "Are you sure that you want to uninstall the Hot Key component?",
             "Uninstalling the hot key component will disable all hot key support for the "
             "Tessary series of tools.\n\nThe hot key application will be terminated, taken out "
             "of your login items and removed from the harddisk.\n\nYou will be able to "
             "re-install hot key support from this preference pane at any time.",
             {"Uninstall", "Cancel"}});
        if (answer != AlertAnswer::First)
            return;
    }
    if (internalUninstallHotKey())
        inform("Hot Key Component was successfully removed.",
               "You may at any moment reinstall the hot key component from this preference pane.");
    else
        alerts_.runAlert({AlertStyle::Warning,
                          "Could not complete all uninstallation steps.",
                          "The hot key application may not have been properly uninstalled.",
                          {"OK"}});
    willSelect();
}

bool PaneController::quitTambrel() {
    // "tell application "Tambrel" to quit": both versions' programs are told to quit.
    return morvane::Workspace::terminateApplication(tambrelPath()) &&
           morvane::Workspace::terminateApplication(locations_.tambrel2Path());
}

bool PaneController::internalUninstallHotKey() {
    // Whether the program was running or not, the removal goes ahead.
    morvane::Workspace::runAndWait("/bin/sh", {quitScriptPath()});
    bool success = !locations_.isInstalled(Product::Tambrel) || quitTambrel();
    success = oldHotKeyComponent().uninstall() && success;
    success = hotKeyComponent().uninstall() && success;
    morvane::LoginItems loginItems;
    success = loginItems.removeContaining(kHotKeyItem) && success;
    success = loginItems.removeContaining(kTambrelItem) && success;
    return success;
}

bool PaneController::shouldUnselect() {
    // Only rows the user saw are saved: a product installed since the last
    // willSelect has no row yet, and an empty row is no setting of the user's.
    for (Product product : kSaveOrder)
        for (ProductContext* context : hotKeyData_)
            if (context == contexts_[static_cast<std::size_t>(product)].get() &&
                locations_.isInstalled(product))
                context->saveNewSettings();
    return true;
}

void PaneController::willUnselect() {
    declined_ = false;
}

void PaneController::showHotKeyHelp() {
    alerts_.openHelpPage(kHelpAddress);
}

} // namespace tessary
