#pragma once
// The logic of the preference pane "Tessary Preferences": the table of the
// installed products' hot keys, and installing, upgrading and removing the
// hot-key program "TSY HotKey.app" that the pane carries in its resources,
// with its login item. No Qt: the plug-in's widgets drive it.
#include "HotKey/AppController.h"
#include "HotKey/ProductLocations.h"
#include "MRVN7x/InstallationComponent/InstallationComponent.h"
#include "PrefPane/AlertPort.h"
#include "PrefPane/ProductContext.h"
#include "platform/UserDefaults.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessary {

using tsyhotkey::Product;

class PaneController {
public:
    static constexpr const char* kHelpAddress = "https://www.halvard.net/tessary/hotkey-help.html";
    static constexpr const char* kInstallationFolder = "~/Library/Application Support/Ossvale/";
    static constexpr const char* kHotKeyName = "TSY HotKey.app";

    // bundlePath: the pane's bundle, whose resources carry the hot-key program.
    PaneController(std::string bundlePath, AlertPort& alerts);

    // The entry points, in the order the host calls them.
    void init();
    void mainViewDidLoad() {}
    void willSelect();
    void didSelect();
    bool shouldUnselect();
    void willUnselect();

    // The buttons.
    void installHotKey();
    void uninstallHotKey();
    void showHotKeyHelp();
    // Quits and removes the hot-key program (both locations) and the login
    // items; true when every step succeeded.
    bool internalUninstallHotKey();

    // The key table in the pop-up's order, and its lookups.
    static const std::vector<std::string>& keyArray();
    static std::optional<std::uint16_t> keyCodeOfString(const std::string& name);
    static bool keyCodeAllowedWithoutModifier(const std::string& name);

    // The table's rows, one per installed product (hotKeyData), and the
    // pane-wide "hotkey is installed".
    const std::vector<ProductContext*>& hotKeyData() const { return hotKeyData_; }
    bool hotKeyIsInstalled() const { return hotKeyInstalled_; }
    bool declinedTambrelSuggestion() const { return declined_; }
    // Called after willSelect rebuilt the rows, so a view can show them.
    void setContentChanged(std::function<void()> changed) { contentChanged_ = std::move(changed); }

    const std::string& bundlePath() const { return bundlePath_; }
    AlertPort& alerts() { return alerts_; }
    morvane::UserDefaults& hotKeyDefaults() { return hotKeyDefaults_; }

    static std::string installedHotKeyPath();
    static std::string oldHotKeyPath();
    std::string quitScriptPath() const;
    // Tambrel's version-1 application: in the application-support folder,
    // else in the applications folder.
    static std::string tambrelPath();

private:
    morvane::InstallationComponent hotKeyComponent() const;
    // Where an older, incompatible version was installed.
    static morvane::InstallationComponent oldHotKeyComponent();
    void writeMissingDefaults();
    void removeOldVersion();
    void suggestTambrel();
    void upgradeIfOlder();
    bool quitTambrel();
    void inform(const char* title, const char* text);

    std::string bundlePath_;
    AlertPort& alerts_;
    morvane::UserDefaults hotKeyDefaults_;
    tsyhotkey::ProductLocations locations_;
    std::vector<std::unique_ptr<ProductContext>> contexts_;
    std::vector<ProductContext*> hotKeyData_;
    std::function<void()> contentChanged_;
    bool hotKeyInstalled_ = false;
    bool declined_ = false;
};

} // namespace tessary
