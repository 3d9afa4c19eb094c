#include "HotKey/AppController.h"

#include "HotKey/KeyTable.h"
#include "platform/ScriptRunner.h"
#include "platform/SystemLog.h"

#include <limits>

namespace tsyhotkey {
namespace {

using morvane::plist::Dictionary;
using morvane::plist::Value;

constexpr std::uint32_t kCommandControl = kCommandKeyMask | kControlKeyMask;

Dictionary defaultRecord(const char* keyName, std::uint32_t modifiers) {
    return Dictionary{
        {"keyString", Value(keyName)},
        {"keyCode", Value(std::int64_t(KeyTable::keyCodeForName(keyName).value_or(0)))},
        {"keyModifier", Value(std::int64_t(modifiers))},
        {"switchedOn", Value("YES")},
    };
}

// An integer of the record, as an integer value or a text holding one.
std::int64_t integerOf(const Dictionary& record, const char* key) {
    const Value* value = morvane::plist::find(record, key);
    if (!value)
        return 0;
    if (auto number = value->numberValue())
        return *number;
    if (const std::string* text = value->asString()) {
        char* end = nullptr;
        long long parsed = std::strtoll(text->c_str(), &end, 10);
        return end == text->c_str() ? 0 : parsed;
    }
    return 0;
}

// What the key does, for desktops that list global shortcuts.
const char* keyDescription(Product product) {
    switch (product) {
    case Product::Morvane:
        return "Open the file manager's files with Morvane";
    case Product::Pirnow:
        return "Open the file manager's files with Pirnow";
    case Product::Quenby:
        return "Open the file manager's files with Quenby";
    case Product::Grulkan:
        return "Open the file manager's files with Grulkan";
    case Product::Tambrel:
        return "Start Tambrel";
    }
    return "";
}

} // namespace

AppController::AppController(HotKeyApplication& application, Workspace& workspace,
                             ScriptEngine& scripts)
    : application_(application), workspace_(workspace), scripts_(scripts),
      defaults_(kHotKeyDomain) {
    defaults_.registerDefaults(createDefaultValueDictionary());
}

Dictionary AppController::createDefaultValueDictionary() {
    return Dictionary{
        {"mrvn", Value(defaultRecord("R", kCommandControl))},
        {"prnw", Value(defaultRecord("S", kCommandControl))},
        {"qnby", Value(defaultRecord("A", kCommandControl))},
        {"grlkn", Value(defaultRecord("C", kCommandControl))},
        {"tmbl", Value(defaultRecord("F1", 0))},
        {"launchAtLogin", Value("YES")},
    };
}

const char* AppController::productKey(Product product) {
    static constexpr const char* keys[] = {"mrvn", "prnw", "qnby", "grlkn", "tmbl"};
    return keys[index(product)];
}

void AppController::awakeFromNib() {
    registerEverything();
}

void AppController::registerEverything() {
    defaults_.synchronize();
    for (Product product : {Product::Morvane, Product::Pirnow, Product::Quenby, Product::Grulkan})
        registerFromRecord(product, true);
    // Tambrel's key cannot be switched off.
    registerFromRecord(Product::Tambrel, false);
    application_.registrar().commit();
}

void AppController::registerFromRecord(Product product, bool honourSwitch) {
    Dictionary record;
    if (auto value = defaults_.objectForKey(productKey(product)); value && value->asDictionary())
        record = *value->asDictionary();
    const std::int64_t keyCode = integerOf(record, "keyCode");
    const std::int64_t modifiers = integerOf(record, "keyModifier");
    const Value* switchedOn = morvane::plist::find(record, "switchedOn");
    const bool on = switchedOn && switchedOn->asString() && *switchedOn->asString() == "YES";
    if (honourSwitch && !on) {
        unregisterHotKey(product);
        return;
    }
    // A code outside 16 bits names no key of the table, so it is refused.
    const std::uint16_t code =
        keyCode < 0 || keyCode > std::numeric_limits<std::uint16_t>::max() ? 0xFFFF : keyCode;
    registerHotKey(product, code, static_cast<std::uint32_t>(modifiers));
}

void AppController::registerHotKey(Product product, std::uint16_t keyCode,
                                   std::uint32_t modifierMask) {
    // An uninstalled product keeps whatever it had until the program restarts.
    if (!locations_.isInstalled(product))
        return;
    HotKeyHandle& handle = handles_[index(product)];
    if (handle != 0)
        application_.unregisterHotKey(handle);
    handle = application_.registerHotKeyCode(
        keyCode, modifierMask, [this, product] { hotKeyPressed(product); },
        keyDescription(product));
}

void AppController::unregisterHotKey(Product product) {
    HotKeyHandle& handle = handles_[index(product)];
    if (handle == 0)
        return;
    application_.unregisterHotKey(handle);
    handle = 0;
}

bool AppController::applicationShouldTerminate() {
    for (Product product : kProducts)
        unregisterHotKey(product);
    application_.registrar().commit();
    return true;
}

void AppController::hotKeyPressed(Product product) {
    switch (product) {
    case Product::Morvane:
        if (std::string path = locations_.morvanePath(); ProductLocations::fileExists(path))
            openSelectionWithTool(path);
        return;
    case Product::Quenby:
        morvane::SystemLog::notice("Pressed.");
        if (std::string path = locations_.quenby4Path(); ProductLocations::fileExists(path))
            openSelectionWithTool(path);
        else
            launchTool("Quenby.app");
        return;
    case Product::Grulkan:
        launchTool("TSY Grulkan.app");
        return;
    case Product::Pirnow:
        launchTool("Pirnow.app");
        return;
    case Product::Tambrel:
        if (auto path = locations_.getTMBL2ExecutablePath()) {
            workspace_.launchApplication(*path);
        } else if (locations_.isTMBL1Installed()) {
            simpleLaunch("Tambrel.app");
            workspace_.postWakeUpNotification();
        }
        return;
    }
}

void AppController::openSelectionWithTool(const std::string& toolPath) {
    if (!workspace_.fileManagerIsFrontmost())
        return;
    runOpenSelectionScript(toolPath);
}

void AppController::launchTool(const std::string& applicationName) {
    if (!workspace_.fileManagerIsFrontmost())
        return;
    if (auto path = ProductLocations::testIfTSYFileExists(applicationName))
        runOpenSelectionScript(*path);
}

void AppController::runOpenSelectionScript(const std::string& toolPath) {
    using namespace morvane::ScriptRunner;
    const std::string script = openSelectionScript(colonPathFromPosix(toolPath));
    if (auto compiled = KxAppleScriptObject::appleScriptObjectWithString(scripts_, script))
        compiled->execute();
}

void AppController::simpleLaunch(const std::string& applicationName) {
    if (auto path = ProductLocations::testIfTSYFileExists(applicationName))
        workspace_.launchApplication(*path);
}

} // namespace tsyhotkey
