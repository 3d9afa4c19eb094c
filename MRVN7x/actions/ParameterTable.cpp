#include "MRVN7x/actions/ParameterTable.h"

#include <algorithm>

namespace morvane {

namespace {
using K = ParameterInfo::Kind;

// The sequence steps and "Rename from list" share their sort keys.
bool isSortKey(const std::string& key) {
    return key == "sortingMode" || key == "sortingMode2";
}

bool isDateAction(const std::string& action) {
    return action == "Rename to date" || action == "Add date to front" ||
           action == "Add date to end";
}

// The name choice notes are filed under: the sort keys share theirs, and
// "mode" of the date steps is "date mode" (other steps' "mode" is another thing).
std::string noteKey(const std::string& action, const std::string& key) {
    if (isSortKey(key))
        return "sortingMode";
    return key == "mode" && isDateAction(action) ? "date mode" : key;
}

const char* const kMp3Tokens =
    "Tokens: <Artist> <Album> <Song> as tagged; <artist>, <ARTIST>, <Artist_sentence_case>, "
    "<Artist_Capitalized> (and the same forms of Album and Song) change their case; "
    "<TrackNum> <NumTracks> <CDNum> <NumCDs>, and <0TrackNum> <0NumTracks> <0CDNum> <0NumCDs> "
    "padded to two digits. The first pattern whose tags a file has is used; a file no pattern "
    "fits keeps its name.";

const std::map<std::string, std::string> kKeyNotes = {
    {"sortingMode",
     "The order in which items get their number, letter or line of the list. The default, "
     "11, is descending: names with numbers by value from Z to A, so the last name comes "
     "first."},
    {"sortingMode2", "The order of items that tie under the first order."},
    {"sortEachFolderSeparately", "Each folder's items are counted from the start again."},
    {"fragmentSelection", "The part of the name the step works on; the rest is kept as it is."},
    {"date pattern index", "The date part of the text (shown for 4 March 2007); 0 leaves it out."},
    {"time pattern index", "The time part of the text (shown for 10:05:09); 0 leaves it out."},
    {"separatorMode", "Which part comes first and what joins them."},
};

const std::map<std::pair<std::string, std::string>, std::string> kActionKeyNotes = {
    {{"Reg Ex Substitution", "search pattern"},
     "An ICU regular expression. Where it matches, the whole part of the name the step works "
     "on is replaced by the replacement; a name it does not match keeps its name."},
    {{"Reg Ex Substitution", "replacement term"},
     "Builds the whole new name (or the selected part), not just the matched text: \\0 is the "
     "whole match, \\1 to \\8 the parenthesised groups, everything else is copied as it is."},
};

const std::map<std::pair<std::string, int>, std::string> kChoiceNotes = {
    {{"fragmentSelection", 1}, "everything before the last \".\" (a name without one: all of it)"},
    {{"fragmentSelection", 2}, "everything after the last \".\" (a name without one: unchanged)"},
    {{"fragmentSelection", 3}, "the last \".\" and what follows (a name without one: unchanged)"},
    {{"sortingMode", 10}, "file2 before file10"},
    {{"sortingMode", 11}, "the default of the sequence steps"},
    {{"date mode", 0}, "when the file was made, where the file system records it"},
    {{"date mode", 2}, "the capture date a camera wrote into the picture"},
    {{"date mode", 3}, "the same instant for every file of the run"},
    {{"separatorMode", 0}, "date first"},
    {{"separatorMode", 6}, "time first"},
    {{"renameMode", 3}, "the recommended mechanism"},
};
} // namespace

const ParameterChoice* ParameterInfo::choice(int value) const {
    auto it = std::find_if(choices.begin(), choices.end(),
                           [value](const ParameterChoice& c) { return c.value == value; });
    return it == choices.end() ? nullptr : &*it;
}

bool ParameterInfo::accepts(int value) const {
    switch (kind) {
    case K::Text:
        return true;
    case K::Integer:
        return value >= minimum && value <= maximum;
    case K::Flag:
        return value == 0 || value == 1;
    case K::Choice:
        return choice(value) != nullptr;
    }
    return false;
}

const std::vector<ParameterInfo>* ParameterTable::forAction(const std::string& action) {
    auto it = views().find(action);
    return it == views().end() ? nullptr : &it->second;
}

const ParameterInfo* ParameterTable::find(const std::string& action, const std::string& key) {
    if (key == fragmentSelection().key)
        return &fragmentSelection();
    const auto* keys = forAction(action);
    if (!keys)
        return nullptr;
    auto it = std::find_if(keys->begin(), keys->end(),
                           [&key](const ParameterInfo& info) { return info.key == key; });
    return it == keys->end() ? nullptr : &*it;
}

const ParameterInfo& ParameterTable::fragmentSelection() {
    static const ParameterInfo info{"fragmentSelection",
                                    K::Choice,
                                    "Apply to",
                                    0,
                                    0,
                                    {{0, "Whole name"},
                                     {1, "Name without extension"},
                                     {2, "Extension without the dot"},
                                     {3, "Extension with the dot"}}};
    return info;
}

const std::vector<ParameterInfo>& ParameterTable::globalSettings() {
    static const std::vector<ParameterInfo> table = {
        {"processFiles", K::Flag, "Rename files", 0, 0, {}},
        {"processFolders", K::Flag, "Rename folders", 0, 0, {}},
        {"processSubfolders", K::Flag, "Rename items inside folders", 0, 0, {}},
        {"renameMode",
         K::Choice,
         "Mechanism",
         0,
         0,
         {{0, "Through the file manager"},
          {1, "Move by path"},
          {2, "Rename by name in its folder"},
          {3, "Rename in place (recommended)"}}},
        {"interactiveMode", K::Flag, "Confirm each new name", 0, 0, {}},
        {"showSummary", K::Flag, "Show a summary", 0, 0, {}},
        {"quitAfterRename", K::Flag, "Quit after renaming (OK)", 0, 0, {}},
        {"useFadeOutEffect", K::Flag, "Fade the window out", 0, 0, {}},
        {"showCurrentName", K::Flag, "Show the current name in the preview", 0, 0, {}},
        {"showPath", K::Flag, "Show the folder in the preview", 0, 0, {}},
        {"discloseAdvancedOptions", K::Flag, "Show the advanced options", 0, 0, {}},
        {"multistep", K::Flag, "Show the steps", 0, 0, {}},
        {"silentDroplet", K::Flag, "Droplets rename without asking", 0, 0, {}},
        {"previewMode", K::Integer, "Preview mode", 0, 2147483647, {}},
        {"previewPaneWidth", K::Integer, "Preview width", 0, 2147483647, {}},
        {"lastAddDirectory", K::Text, "Folder last added from", 0, 0, {}},
    };
    return table;
}

const ParameterInfo* ParameterTable::findGlobal(const std::string& key) {
    const auto& table = globalSettings();
    auto it = std::find_if(table.begin(), table.end(),
                           [&key](const ParameterInfo& info) { return info.key == key; });
    return it == table.end() ? nullptr : &*it;
}

std::string ParameterTable::note(const std::string& action, const std::string& key) {
    if (auto it = kActionKeyNotes.find({action, key}); it != kActionKeyNotes.end())
        return it->second;
    if (action == "MP3 rename" && key.rfind("pattern", 0) == 0)
        return key == "pattern" ? kMp3Tokens : "Used when the patterns before it cannot be filled.";
    if (isDateAction(action) && key == "mode")
        return "Which date of the file; a file without that date keeps its name.";
    auto it = kKeyNotes.find(key);
    return it == kKeyNotes.end() ? std::string() : it->second;
}

std::string ParameterTable::choiceNote(const std::string& action, const std::string& key,
                                       int value) {
    auto it = kChoiceNotes.find({noteKey(action, key), value});
    if (it == kChoiceNotes.end() || (key == "sortingMode2" && value == 11))
        return {};
    return it->second;
}

const char* ParameterTable::kindName(ParameterInfo::Kind kind) {
    switch (kind) {
    case K::Text:
        return "text";
    case K::Integer:
        return "integer";
    case K::Flag:
        return "yes/no";
    case K::Choice:
        return "choice";
    }
    return "";
}

} // namespace morvane
