#include "MRVN7x/lists/RenameFromListAction.h"

#include "MRVN7x/lists/RenameListLoader.h"
#include "MRVN7x/lists/TabDelimitedFileListLoader.h"
#include "platform/PathText.h"

#include <cstdio>
#include <sys/stat.h>

namespace morvane {

namespace {

std::string formatCount(const char* format, int value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// Only an absolute path names a file: a relative one would depend on the
// folder the program was started in ("<no file>" must never name a file).
bool fileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &info) == 0;
}

} // namespace

plist::Dictionary RenameFromListAction::defaultParameters() const {
    auto params = SortBasedAction::defaultParameters();
    params["list file path"] = plist::Value(kNoFile);
    params["status"] = plist::Value("Nothing loaded.");
    params["ignoreCase"] = plist::Value(1);
    return params;
}

void RenameFromListAction::prepareParameters() {
    SortBasedAction::prepareParameters();
    paramListFilePath = getParamString("list file path");
    paramIsTabDelimitedList = !fileNames_.empty();
    paramIgnoreCase = getParamInt("ignoreCase", 1) != 0;
}

void RenameFromListAction::setParameterList(const plist::Dictionary& list) {
    SortBasedAction::setParameterList(list);
    prepareParameters();
    load(paramListFilePath);
}

void RenameFromListAction::setValueForKey(const std::string& key,
                                          std::optional<plist::Value> value) {
    const bool wasIgnoringCase = getParamInt("ignoreCase", 1) != 0;
    SortBasedAction::setValueForKey(key, std::move(value));
    if (key == "ignoreCase" && (getParamInt("ignoreCase", 1) != 0) != wasIgnoringCase)
        reload();
}

void RenameFromListAction::browse(const std::string& chosenPath) {
    load(chosenPath);
}

void RenameFromListAction::reload() {
    prepareParameters();
    load(paramListFilePath);
}

void RenameFromListAction::clear() {
    load(kNoFile);
}

void RenameFromListAction::setStatus(const std::string& status) {
    setValueForKey("status", plist::Value(status));
}

void RenameFromListAction::setLists(std::vector<std::u16string> fileNames,
                                    std::vector<std::u16string> newNames) {
    indexOfFileName_.clear(); // before the texts its keys view go
    fileNames_ = std::move(fileNames);
    newNames_ = std::move(newNames);
    indexOfFileName_.reserve(fileNames_.size());
    for (std::uint32_t i = 0; i < fileNames_.size(); ++i)
        indexOfFileName_.emplace(fileNames_[i], i); // the first entry of a path wins
    paramIsTabDelimitedList = !fileNames_.empty();
    markParametersChanged();
}

void RenameFromListAction::load(const std::string& path) {
    prepareParameters();
    if (!fileExists(path)) {
        setLists({}, {});
        setStatus("File does not exist. Nothing loaded.");
        setValueForKey("list file path", plist::Value(path));
        return;
    }
    TabDelimitedFileListLoader pairs;
    pairs.setIgnoreCase(paramIgnoreCase);
    ListLoadResult result = pairs.loadFromPath(path);
    if (result.loaded()) {
        setLists(pairs.getFileArray(), pairs.getNewNameArray());
    } else if (result == ListLoadResult::stoppedAt(1)) { // not a pair: a plain list?
        RenameListLoader plain;
        result = plain.loadFromPath(path);
        if (result.loaded())
            setLists({}, plain.getFileArray());
    }
    if (result.loaded()) {
        const int count = static_cast<int>(newNames_.size());
        setStatus(fileNames_.empty()
                      ? formatCount("%d new names loaded.", count)
                      : formatCount("%d \"file path, new name\" pairs loaded.", count));
    } else if (result.status == ListLoadResult::Status::Unreadable) {
        setStatus("File could not be read. Nothing loaded.");
    } else {
        setStatus(formatCount("Error on line %d. Nothing loaded.", result.record));
    }
    setValueForKey("list file path", plist::Value(path));
}

std::u16string RenameFromListAction::processName(const std::u16string& fragment,
                                                 const std::string& path, InputContext& input) {
    prepareParameters();
    if (paramIsTabDelimitedList) {
        std::u16string key = PathText::fromUtf8(path);
        if (paramIgnoreCase)
            key = TabDelimitedFileListLoader::lowercasePath(key);
        const auto found = indexOfFileName_.find(std::u16string_view(key));
        return found == indexOfFileName_.end() ? fragment : newNames_[found->second];
    }
    const std::int32_t place = getSortIndex(input);
    if (place < 1 || static_cast<size_t>(place) > newNames_.size())
        return fragment;
    return newNames_[static_cast<size_t>(place) - 1];
}

} // namespace morvane
