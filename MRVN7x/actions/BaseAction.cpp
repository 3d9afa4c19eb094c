#include "MRVN7x/actions/BaseAction.h"

#include "MRVN7x/actions/ActionList.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace morvane {

namespace {
const std::string userDescriptionKey = "userDescription";

std::int32_t clampTo32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t readLeadingInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t magnitude = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > (std::int64_t(1) << 32))
            magnitude = std::int64_t(1) << 32; // far enough out to clamp either way
    }
    return clampTo32(negative ? -magnitude : magnitude);
}
} // namespace

std::int32_t integerReading(const plist::Value& value) {
    if (auto text = value.asString())
        return readLeadingInteger(*text);
    if (auto number = value.numberValue())
        return clampTo32(*number);
    return 0;
}

void BaseAction::init() {
    dic_ = defaultParameters();
    markParametersChanged();
}

void BaseAction::prepareParametersIfChanged() {
    if (preparedGeneration_ == parametersGeneration_)
        return;
    prepareParameters();
    // Whatever prepareParameters() wrote itself (a repaired value) is prepared.
    preparedGeneration_ = parametersGeneration_;
}

std::string BaseAction::userDescription() const {
    return ActionList::menuTitleForName(actionName());
}

std::string BaseAction::description() const {
    return "Action: " + actionName() + " param: " + plist::Value(dic_).describe();
}

plist::Dictionary BaseAction::defaultParameters() const {
    return {{"active", plist::Value(1)}};
}

void BaseAction::setParameterList(const plist::Dictionary& list) {
    std::vector<std::string> keys;
    for (const auto& entry : dic_)
        keys.push_back(entry.first);
    for (const auto& key : keys)
        willChangeValueForKey(key);
    for (const auto& [key, value] : list)
        dic_.insert_or_assign(key, value);
    markParametersChanged();
    // Announce the completed change for every key now present, new ones included.
    for (const auto& entry : dic_) {
        if (std::find(keys.begin(), keys.end(), entry.first) == keys.end())
            keys.push_back(entry.first);
    }
    for (const auto& key : keys)
        didChangeValueForKey(key);
}

std::optional<plist::Value> BaseAction::valueForKey(const std::string& key) const {
    if (auto value = plist::find(dic_, key))
        return *value;
    return std::nullopt;
}

void BaseAction::setValueForKey(const std::string& key, std::optional<plist::Value> value) {
    willChangeValueForKey(key);
    setValueForUndefinedKey(key, std::move(value));
    didChangeValueForKey(key);
}

Result<std::optional<plist::Value>>
BaseAction::validatedValueForKey(const std::string& key, std::optional<plist::Value> value) {
    (void)key;
    return value;
}

void BaseAction::setValueForUndefinedKey(const std::string& key,
                                         std::optional<plist::Value> value) {
    willChangeValueForKey(userDescriptionKey);
    if (value) {
        dic_.insert_or_assign(key, std::move(*value));
    } else if (auto stored = plist::find(dic_, key)) {
        if (stored->isString())
            dic_.insert_or_assign(key, plist::Value(std::string()));
        else if (stored->isNumber())
            dic_.insert_or_assign(key, plist::Value(0));
        else
            SystemLog::warning("unrecognized null value put into BaseAction");
    }
    didChangeValueForKey(userDescriptionKey);
}

std::string BaseAction::getParamString(const std::string& key) const {
    auto value = plist::find(dic_, key);
    if (!value)
        return {};
    if (auto text = value->asString())
        return *text;
    if (auto number = value->asInteger())
        return std::to_string(*number);
    return {};
}

std::u16string BaseAction::getParamText(const std::string& key) const {
    return toU16(getParamString(key));
}

std::int32_t BaseAction::getParamInt(const std::string& key, std::int32_t fallback) const {
    auto value = plist::find(dic_, key);
    return value ? integerReading(*value) : fallback;
}

std::u16string BaseAction::limitTextFieldInputTo1Character(const std::string& key) {
    std::u16string text = getParamText(key);
    if (text.size() <= 1)
        return text;
    // One UTF-16 unit, except that a surrogate pair stays whole: half of one
    // cannot be stored as text.
    size_t keep = (text[0] >= 0xD800 && text[0] <= 0xDBFF && text.size() > 1) ? 2 : 1;
    if (text.size() == keep)
        return text;
    text.resize(keep);
    setValueForKey(key, plist::Value(toU8(text)));
    return text;
}

void BaseAction::executeWithInputContext(InputContext& input, OutputContext& output) {
    (void)output;
    prepareParametersIfChanged();
    perform(input.inputPath);
}

void BaseAction::addObserver(KeyValueObserver* observer, const std::string& key) {
    auto& list = observers_[key];
    if (std::find(list.begin(), list.end(), observer) == list.end())
        list.push_back(observer);
}

void BaseAction::registerObserverForAllValues(KeyValueObserver* observer) {
    for (const auto& entry : dic_)
        addObserver(observer, entry.first);
}

void BaseAction::removeObserver(KeyValueObserver* observer) {
    for (auto& [key, list] : observers_)
        list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

void BaseAction::willChangeValueForKey(const std::string& key) {
    pendingOldValues_[key].push_back(valueForKey(key));
}

void BaseAction::didChangeValueForKey(const std::string& key) {
    markParametersChanged();
    std::optional<plist::Value> oldValue;
    auto pending = pendingOldValues_.find(key);
    if (pending != pendingOldValues_.end() && !pending->second.empty()) {
        oldValue = std::move(pending->second.back());
        pending->second.pop_back();
        if (pending->second.empty())
            pendingOldValues_.erase(pending);
    }
    auto it = observers_.find(key);
    if (it == observers_.end())
        return;
    const auto newValue = valueForKey(key);
    // A copy: an observer may register or remove observers while it is told.
    const auto observers = it->second;
    for (KeyValueObserver* observer : observers)
        observer->observeValueForKey(key, *this, oldValue, newValue);
}

} // namespace morvane
