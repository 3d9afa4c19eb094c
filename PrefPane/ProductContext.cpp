#include "PrefPane/ProductContext.h"

#include "HotKey/KeyTable.h"
#include "PrefPane/PaneController.h"
#include "platform/SystemLog.h"

#include <algorithm>

namespace tessary {
namespace {
using morvane::plist::Dictionary;
using morvane::plist::Value;
using namespace tsyhotkey;

constexpr const char* kIllegalTitle = "Illegal hot key combination";
constexpr const char* kIllegalText =
    "You have tried to select a hot key combination which is likely to interfere with the "
    "correct operation of other applications.\n\nYou may not select a single non-function key "
    "on its own without also selecting at least one modifier key.\n\nIf you want to change the "
    "current modifier key, select the new modifier key before unselecting the old.";
constexpr const char* kRefusedTitle = "Illegal Hot Key Selection for ";
constexpr const char* kRefusedText =
    "Certain keys cannot be used as Hot Key without specifying modifier keys because this would "
    "disrupt the normal operation of other programs. Your hot key will not be saved.";
constexpr const char* kTambrelTitle = "The hot key for Tambrel cannot be switched off.";
constexpr const char* kTambrelText =
    "Tambrel cannot operate normally while the hot key component is switched off.\n\nThe hot key "
    "will be switched back on automatically to ensure the proper operation of the tool.";

std::int64_t integerOf(const Dictionary& record, const char* key) {
    const Value* value = morvane::plist::find(record, key);
    return value ? value->numberValue().value_or(0) : 0;
}

// The row's key choice: the stored name's place in the list; a name the list
// lacks falls back to the key of the stored code, then to the first key.
int choiceOf(const Dictionary& record) {
    const auto& keys = PaneController::keyArray();
    const Value* stored = morvane::plist::find(record, "keyString");
    if (stored && stored->asString())
        if (auto at = std::find(keys.begin(), keys.end(), *stored->asString()); at != keys.end())
            return static_cast<int>(at - keys.begin());
    const std::int64_t code = integerOf(record, "keyCode");
    if (code >= 0 && code <= 0xFFFF)
        if (const KeyTableEntry* entry = KeyTable::entryForKeyCode(std::uint16_t(code)))
            return static_cast<int>(std::find(keys.begin(), keys.end(), entry->name) -
                                    keys.begin());
    return 0;
}
} // namespace

ProductContext::ProductContext(std::string name, std::string preferencesUrl,
                               PaneController& mainController)
    : mainController_(mainController), name_(std::move(name)),
      preferencesUrl_(std::move(preferencesUrl)) {}

const HotKeyRow& ProductContext::getHotKeyDictionary() {
    Dictionary record;
    if (auto value = mainController_.hotKeyDefaults().objectForKey(preferencesUrl_);
        value && value->asDictionary())
        record = *value->asDictionary();
    const std::int64_t mask = integerOf(record, "keyModifier");
    const Value* switchedOn = morvane::plist::find(record, "switchedOn");
    row_ = HotKeyRow{};
    row_.name = name_;
    row_.option = (mask & kOptionKeyMask) ? 1 : 0;
    row_.control = (mask & kControlKeyMask) ? 1 : 0;
    row_.shift = (mask & kShiftKeyMask) ? 1 : 0;
    row_.command = (mask & kCommandKeyMask) ? 1 : 0;
    row_.active = switchedOn && switchedOn->asString() && *switchedOn->asString() == "YES";
    row_.principalKeyChoice = choiceOf(record);
    observing_ = true;
    return row_;
}

const HotKeyRow& TMBLProductContext::getHotKeyDictionary() {
    ProductContext::getHotKeyDictionary();
    row_.active = 1;
    return row_;
}

int& ProductContext::entry(RowKey key) {
    switch (key) {
    case RowKey::Option:
        return row_.option;
    case RowKey::Control:
        return row_.control;
    case RowKey::Shift:
        return row_.shift;
    case RowKey::Command:
        return row_.command;
    case RowKey::Active:
        return row_.active;
    case RowKey::PrincipalKeyChoice:
        break;
    }
    return row_.principalKeyChoice;
}

int ProductContext::value(RowKey key) const {
    return const_cast<ProductContext*>(this)->entry(key);
}

void ProductContext::setValue(RowKey key, int value) {
    const int keys = static_cast<int>(PaneController::keyArray().size());
    if (key == RowKey::PrincipalKeyChoice ? value < 0 || value >= keys : value != 0 && value != 1)
        return; // no such key or flag: the row keeps its value
    const int old = entry(key);
    entry(key) = value;
    const bool observed = key != RowKey::Shift && key != RowKey::Active;
    if (observing_ && observed)
        observeValueForKeyPath(key, old, value);
}

std::string ProductContext::principalKeyName() const {
    return PaneController::keyArray().at(static_cast<std::size_t>(row_.principalKeyChoice));
}

void ProductContext::observeValueForKeyPath(RowKey key, int, int) {
    if (PaneController::keyCodeAllowedWithoutModifier(principalKeyName()))
        return;
    if (row_.option == 1 || row_.control == 1 || row_.command == 1)
        return;
    mainController_.alerts().runAlert({AlertStyle::Warning, kIllegalTitle, kIllegalText, {"Undo"}});
    const RowKey restore = key == RowKey::Option || key == RowKey::Command ? key : RowKey::Control;
    setValue(restore, 1);
}

bool ProductContext::shouldBeActive(bool flag) {
    return flag;
}

bool TMBLProductContext::shouldBeActive(bool flag) {
    if (!flag)
        mainController_.alerts().runAlert(
            {AlertStyle::Warning, kTambrelTitle, kTambrelText, {"OK"}});
    return true;
}

bool ProductContext::saveNewSettings() {
    morvane::SystemLog::notice("Saving settings before quitting..");
    std::int64_t mask = 0;
    if (row_.control == 1)
        mask |= kControlKeyMask;
    if (row_.option == 1)
        mask |= kOptionKeyMask;
    if (row_.shift == 1)
        mask |= kShiftKeyMask;
    if (row_.command == 1)
        mask |= kCommandKeyMask;
    const std::string keyName = principalKeyName();
    const auto keyCode = PaneController::keyCodeOfString(keyName);
    // As while editing, shift alone does not make a letter a hot key: it
    // would take every capital letter typed from the other programs.
    const bool guarded = row_.option == 1 || row_.control == 1 || row_.command == 1;
    if (!keyCode || (!guarded && !PaneController::keyCodeAllowedWithoutModifier(keyName))) {
        mainController_.alerts().runAlert(
            {AlertStyle::Warning, kRefusedTitle + name_, kRefusedText, {"OK"}});
        return false;
    }
    const Dictionary record{
        {"keyCode", Value(std::int64_t(*keyCode))},
        {"keyModifier", Value(mask)},
        {"switchedOn", Value(shouldBeActive(row_.active == 1) ? "YES" : "NO")},
        {"keyString", Value(keyName)},
    };
    morvane::UserDefaults& defaults = mainController_.hotKeyDefaults();
    defaults.setObject(preferencesUrl_, record);
    defaults.setObject("launchAtLogin", Value("YES"));
    morvane::SystemLog::notice("writing preferences data:" + Value(record).describe());
    return defaults.synchronize();
}

} // namespace tessary
