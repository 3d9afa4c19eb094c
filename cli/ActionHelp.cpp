#include "cli/ActionHelp.h"

#include "cli/Json.h"
#include "cli/ValueChecker.h"

#include <set>

namespace morvane::cli {

namespace {
using K = ParameterInfo::Kind;

// A key the view has no control for is described by its default alone.
ParameterInfo inferred(const std::string& key, const plist::Value& byDefault) {
    if (byDefault.isNumber())
        return {key, K::Integer, "", -2147483647, 2147483647, {}};
    return {key, K::Text, "", 0, 0, {}};
}

std::string defaultText(const ParameterInfo& info, const plist::Value& value) {
    if (const std::string* text = value.asString())
        return "\"" + *text + "\"";
    const std::string number = value.describe();
    if (info.kind == K::Flag)
        return number == "0" ? "0 (no)" : "1 (yes)";
    if (info.kind == K::Choice && value.isNumber())
        if (const auto* choice = info.choice(static_cast<int>(std::stoll(number))))
            return number + " (" + choice->title + ")";
    return number;
}

// Long lines are wrapped to stay within 80 columns; the lines after the first
// take the second indent.
std::string wrapped(const std::string& text, const std::string& first, const std::string& rest) {
    std::string out, line;
    std::string indent = first;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > 78) {
            out += indent + line + "\n";
            line.clear();
            indent = rest;
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    return line.empty() ? out : out + indent + line + "\n";
}
} // namespace

ActionHelp::ActionHelp(std::string name, std::string title, const plist::Dictionary& defaults)
    : name_(std::move(name)), title_(std::move(title)), defaults_(defaults) {
    std::set<std::string> seen;
    auto add = [&](const ParameterInfo& info) {
        const plist::Value* value = plist::find(defaults_, info.key);
        if (!seen.insert(info.key).second || !value)
            return;
        keys_.push_back({info, *value, ParameterTable::note(name_, info.key)});
    };
    if (const auto* view = ParameterTable::forAction(name_))
        for (const auto& info : *view)
            add(info);
    add(ParameterTable::fragmentSelection());
    ValueChecker checker(name_, defaults_);
    for (const std::string& key : checker.userKeys())
        if (const plist::Value* value = plist::find(defaults_, key))
            add(inferred(key, *value));
}

std::string ActionHelp::keyText(const std::string& action, const Key& key) {
    const ParameterInfo& info = key.info;
    std::string head = info.key + (info.label.empty() ? "" : " (" + info.label + ")") + ": " +
                       ParameterTable::kindName(info.kind);
    if (info.kind == K::Integer)
        head += " from " + std::to_string(info.minimum) + " to " + std::to_string(info.maximum);
    head += ", default " + defaultText(info, key.byDefault);
    std::string out = wrapped(head, "  ", "      ");
    if (!key.note.empty())
        out += wrapped(key.note, "      ", "      ");
    for (const auto& choice : info.choices) {
        const std::string note = ParameterTable::choiceNote(action, info.key, choice.value);
        out += wrapped(std::to_string(choice.value) + "  " + choice.title +
                           (note.empty() ? "" : ": " + note),
                       choice.value < 10 ? "       " : "      ", "          ");
    }
    return out;
}

std::string ActionHelp::text() const {
    std::string out = name_ + "  (" + title_ + ")\n";
    for (const Key& key : keys_)
        out += keyText(name_, key);
    return out;
}

void ActionHelp::writeKey(JsonWriter& json, const Key& key) const {
    const ParameterInfo& info = key.info;
    json.beginObject()
        .member("key", info.key)
        .member("kind", ParameterTable::kindName(info.kind))
        .member("label", info.label)
        .key("default")
        .value(key.byDefault);
    if (info.kind == K::Integer)
        json.member("minimum", info.minimum).member("maximum", info.maximum);
    if (info.kind == K::Choice) {
        json.key("choices").beginArray();
        for (const ParameterChoice& choice : info.choices)
            json.beginObject()
                .member("value", choice.value)
                .member("title", choice.title)
                .member("note", ParameterTable::choiceNote(name_, info.key, choice.value))
                .endObject();
        json.endArray();
    }
    json.member("note", key.note).endObject();
}

void ActionHelp::writeJson(JsonWriter& json) const {
    json.beginObject()
        .member("name", name_)
        .member("title", title_)
        .key("parameters")
        .value(plist::Value(defaults_))
        .key("keys")
        .beginArray();
    for (const Key& key : keys_)
        writeKey(json, key);
    json.endArray().endObject();
}

} // namespace morvane::cli
