#pragma once
// The one table of what every action's parameters mean: for each key its kind,
// its label, its range and, for a menu or a group of radio buttons, the value
// and title of each choice, with a few words where a title cannot say it all.
// The command line checks and explains values by it; the parameter views show
// the same titles (a test holds the views to it). The per-view part is written
// from gui/views by scripts/make-parameter-table.py; the chain's and the global
// settings' keys and the notes are kept here.
#include <map>
#include <string>
#include <vector>

namespace morvane {

struct ParameterChoice {
    int value;
    std::string title;
};

struct ParameterInfo {
    enum class Kind { Text, Integer, Flag, Choice };
    std::string key;
    Kind kind;
    std::string label;
    int minimum = 0; // Integer only
    int maximum = 0;
    std::vector<ParameterChoice> choices; // Choice only

    // The title of a choice, or nullptr when the value is none of them.
    const ParameterChoice* choice(int value) const;
    bool accepts(int value) const;
};

class ParameterTable {
public:
    // Every action's keys in the order of its view, by action name.
    static const std::map<std::string, std::vector<ParameterInfo>>& views();
    // The keys of one action's view; nullptr for a name without a view.
    static const std::vector<ParameterInfo>* forAction(const std::string& action);
    // The key of one action (or of the chain every step shares, "fragmentSelection");
    // nullptr when the view has no control for it.
    static const ParameterInfo* find(const std::string& action, const std::string& key);
    // The part of the name a step works on, shared by every step.
    static const ParameterInfo& fragmentSelection();
    // The global settings a user can change, with their kinds.
    static const std::vector<ParameterInfo>& globalSettings();
    static const ParameterInfo* findGlobal(const std::string& key);

    // What a key of an action does beyond its label; empty when the label says it.
    static std::string note(const std::string& action, const std::string& key);
    // What one choice means beyond its title; empty when the title says it.
    static std::string choiceNote(const std::string& action, const std::string& key, int value);
    static const char* kindName(ParameterInfo::Kind kind);
};

} // namespace morvane
