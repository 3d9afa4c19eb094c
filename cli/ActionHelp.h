#pragma once
// What `morvane-cli actions` tells about an action: every parameter a user can
// set with its type, default, range or choices, and what the choices mean,
// from the parameter table of the core; as text for people and as JSON.
#include "MRVN7x/actions/ParameterTable.h"
#include "cli/Json.h"
#include "platform/PlistValue.h"

#include <string>
#include <vector>

namespace morvane::cli {

class ActionHelp {
public:
    // name: the exact action name; title: its menu title; defaults: its default parameters.
    ActionHelp(std::string name, std::string title, const plist::Dictionary& defaults);

    // The action in full, one parameter after the other.
    std::string text() const;
    // {"name", "title", "parameters" (the defaults), "keys": [{key, kind, label,
    // default, minimum, maximum, choices: [{value, title, note}], note}]}
    void writeJson(JsonWriter& json) const;

private:
    struct Key {
        ParameterInfo info;
        plist::Value byDefault;
        std::string note;
    };
    static std::string keyText(const std::string& action, const Key& key);
    void writeKey(JsonWriter& json, const Key& key) const;

    std::string name_;
    std::string title_;
    plist::Dictionary defaults_;
    std::vector<Key> keys_;
};

} // namespace morvane::cli
