#pragma once
// The controller of the hot-key program: the five products, their settings in
// the domain "net.halvard.tsy.hotkey", the re-registration every tick, and
// what each hot key does.
#include "HotKey/HotKeyApplication.h"
#include "HotKey/KxAppleScriptObject.h"
#include "HotKey/ProductLocations.h"
#include "HotKey/Workspace.h"
#include "platform/UserDefaults.h"

#include <array>
#include <chrono>

namespace tsyhotkey {

inline constexpr char kHotKeyDomain[] = "net.halvard.tsy.hotkey";
inline constexpr std::chrono::milliseconds kRefreshInterval{2500};

class AppController {
public:
    AppController(HotKeyApplication& application, Workspace& workspace, ScriptEngine& scripts);
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The registered defaults of the domain.
    static morvane::plist::Dictionary createDefaultValueDictionary();
    static const char* productKey(Product product);

    // Registers every key once; the caller then calls timeUp() every kRefreshInterval.
    void awakeFromNib();
    void timeUp() { registerEverything(); }
    void registerEverything();

    void registerHotKey(Product product, std::uint16_t keyCode, std::uint32_t modifierMask);
    void unregisterHotKey(Product product);
    HotKeyHandle handle(Product product) const { return handles_[index(product)]; }

    // The press handlers.
    void hotKeyPressed(Product product);

    // Unregisters every key; termination may proceed.
    bool applicationShouldTerminate();

    ProductLocations& locations() { return locations_; }
    morvane::UserDefaults& defaults() { return defaults_; }

private:
    static std::size_t index(Product product) { return static_cast<std::size_t>(product); }
    void registerFromRecord(Product product, bool honourSwitch);
    void openSelectionWithTool(const std::string& toolPath);
    void launchTool(const std::string& applicationName);
    void runOpenSelectionScript(const std::string& toolPath);
    void simpleLaunch(const std::string& applicationName);

    HotKeyApplication& application_;
    Workspace& workspace_;
    ScriptEngine& scripts_;
    morvane::UserDefaults defaults_;
    ProductLocations locations_;
    std::array<HotKeyHandle, 5> handles_{};
};

} // namespace tsyhotkey
