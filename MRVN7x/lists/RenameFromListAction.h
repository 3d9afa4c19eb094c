#pragma once
// "Rename from list": new names read from a text file. A plain list (one name
// per line) names the items in the action's sort order; a pair list (full
// path, tab, new name; what the application writes when it saves the file
// list with full paths) names exactly the items it lists. The format is told
// apart by the first line.
//
// The loaded lists are not parameters: only "list file path" is, and every
// application of settings reads the file again. A failed load keeps the lists
// of the last successful one while "status" reports the failure.
#include "MRVN7x/actions/sequence/SortBasedAction.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvane {

class RenameFromListAction : public SortBasedAction {
public:
    static constexpr const char* kActionName = "Rename from list";
    static constexpr const char* kNoFile = "<no file>";
    static constexpr const char* kHelpAddress =
        "https://www.halvard.net/morvane/help/rename-from-list.html";

    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    // The merge, then the list file is read again.
    void setParameterList(const plist::Dictionary& list) override;
    // A change of "ignoreCase" reads the list file again, so the paths are
    // compared in the form the flag asks for.
    void setValueForKey(const std::string& key, std::optional<plist::Value> value) override;

    // Commands of the parameter view: the file chosen in the open panel, the
    // current file again, and no file.
    void browse(const std::string& chosenPath);
    void reload();
    void clear();

    using SortBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The loaded lists: the paths of a pair list (lower-cased when loaded
    // ignoring case; empty for a plain list) and the new names.
    const std::vector<std::u16string>& fileNames() const { return fileNames_; }
    const std::vector<std::u16string>& newNames() const { return newNames_; }

private:
    void load(const std::string& path);
    void setLists(std::vector<std::u16string> fileNames, std::vector<std::u16string> newNames);
    void setStatus(const std::string& status);

    std::vector<std::u16string> fileNames_;
    std::vector<std::u16string> newNames_;
    // Path to its first position in fileNames_: one lookup per item. The keys
    // are views of fileNames_ (the action is never copied, the list only
    // replaced whole), so a path is held once, not twice.
    std::unordered_map<std::u16string_view, std::uint32_t> indexOfFileName_;
    std::string paramListFilePath;
    bool paramIgnoreCase = true;
    bool paramIsTabDelimitedList = false;
};

} // namespace morvane
