#include "cli/ValueChecker.h"

#include "MRVN7x/actions/BaseAction.h"
#include "cli/ChainBuilder.h"
#include "cli/Suggestion.h"

namespace morvane::cli {

namespace {
std::optional<int> flagValue(const std::string& text) {
    const std::string word = folded(text);
    if (word == "1" || word == "yes" || word == "true")
        return 1;
    if (word == "0" || word == "no" || word == "false")
        return 0;
    return std::nullopt;
}

// Kept by the program itself; accepted, but not offered.
bool isInternal(const std::string& key) {
    return key == "active" || key == "version";
}
} // namespace

std::string describeChoices(const ParameterInfo& info) {
    std::string out;
    for (const auto& choice : info.choices)
        out += (out.empty() ? "" : ", ") + std::to_string(choice.value) + " (" + choice.title + ")";
    return out;
}

std::string describeRange(const ParameterInfo& info) {
    switch (info.kind) {
    case ParameterInfo::Kind::Text:
        return "any text";
    case ParameterInfo::Kind::Integer:
        return "an integer from " + std::to_string(info.minimum) + " to " +
               std::to_string(info.maximum);
    case ParameterInfo::Kind::Flag:
        return "0 or 1 (also no/yes, false/true)";
    case ParameterInfo::Kind::Choice:
        return "one of " + describeChoices(info);
    }
    return {};
}

std::string ValueChecker::subject(const std::string& key) const {
    return "\"" + key + "\" of " + owner_;
}

std::vector<std::string> ValueChecker::userKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : defaults_)
        if (!isInternal(entry.first))
            keys.push_back(entry.first);
    return keys;
}

Result<plist::Value> ValueChecker::check(const std::string& key, const std::string& text,
                                         const ParameterInfo* info) const {
    const plist::Value* byDefault = plist::find(defaults_, key);
    if (!byDefault && !info) {
        const std::vector<std::string> keys = userKeys();
        return Failure{0, "\"" + key + "\" is not a key of " + owner_ +
                              " (its keys: " + quotedList(keys) + ")" + didYouMean(key, keys)};
    }
    if (info && info->kind != ParameterInfo::Kind::Text)
        return checkKnown(key, text, *info);
    auto value = typedValue(byDefault, text);
    if (!value)
        return Failure{0, subject(key) + " takes an integer, not '" + text + "'"};
    return std::move(*value);
}

Result<plist::Value> ValueChecker::checkKnown(const std::string& key, const std::string& text,
                                              const ParameterInfo& info) const {
    using K = ParameterInfo::Kind;
    std::optional<int> number;
    if (info.kind == K::Flag) {
        number = flagValue(text);
    } else if (auto typed = typedValue(nullptr, text); typed && typed->isNumber()) {
        number = static_cast<int>(integerReading(*typed));
    } else if (info.kind == K::Choice) {
        for (const auto& choice : info.choices)
            if (folded(choice.title) == folded(text))
                number = choice.value;
    }
    if (!number || !info.accepts(*number))
        return Failure{0, subject(key) + " takes " + describeRange(info) + ", not '" + text + "'"};
    return plist::Value(*number);
}

} // namespace morvane::cli
