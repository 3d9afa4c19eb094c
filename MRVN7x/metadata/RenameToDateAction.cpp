#include "MRVN7x/metadata/RenameToDateAction.h"

#include "MRVN7x/actions/FileInformation.h"
#include "MRVN7x/metadata/DateFormatter.h"
#include "MRVN7x/metadata/PListIndexValueTranslater.h"
#include "platform/Resources.h"
#include "platform/SystemLog.h"

namespace morvane {

namespace {

enum DateMode { kCreation = 0, kModification = 1, kExif = 2, kNow = 3 };

std::vector<std::string> menuTitles(const std::string& name) {
    std::vector<std::string> titles;
    const auto value = Resources::plist(name);
    const plist::Array* array = value ? value->asArray() : nullptr;
    if (!array) {
        SystemLog::error(Resources::missingMessage(name + ".plist"));
        return titles;
    }
    for (const plist::Value& item : *array)
        titles.push_back(item.asString() ? *item.asString() : std::string());
    return titles;
}

// The date of the item by mode; nothing when it has none.
std::optional<double> dateOf(FileInformation& files, std::int32_t mode, const std::string& path) {
    switch (mode) {
    case kCreation:
        return files.fileCreationDate(path);
    case kModification:
        return files.fileModificationDate(path);
    case kExif:
        return files.fileEXIFDate(path);
    case kNow:
        return files.now();
    default:
        return std::nullopt;
    }
}

void translateEntry(plist::Dictionary& list, const std::string& key, const std::string& from,
                    const std::string& to) {
    const plist::Value* stored = plist::find(list, key);
    if (!stored)
        return; // an absent index keeps the action's own value
    const std::int32_t index = integerReading(*stored);
    list[key] = plist::Value(PListIndexValueTranslater::translateIndex(index, from, to));
}

} // namespace

RenameToDateAction::RenameToDateAction()
    : dateMenuItems_(menuTitles("datePatterns menu")),
      timeMenuItems_(menuTitles("timePatterns menu")) {}

plist::Dictionary RenameToDateAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["date pattern index"] = plist::Value(1);
    params["time pattern index"] = plist::Value(1);
    params["uppercase am pm"] = plist::Value(1);
    params["mode"] = plist::Value(0);
    params["separatorMode"] = plist::Value(0);
    params["version"] = plist::Value(1);
    return params;
}

void RenameToDateAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramDatePatternIndex = getParamInt("date pattern index", 1);
    paramTimePatternIndex = getParamInt("time pattern index", 1);
    paramUppercase = getParamInt("uppercase am pm", 1);
    paramMode = getParamInt("mode", 0);
    paramSeparatorMode = getParamInt("separatorMode", 0);
}

plist::Dictionary RenameToDateAction::migratedParameterList(const plist::Dictionary& list) {
    if (plist::find(list, "version"))
        return list;
    plist::Dictionary migrated = list;
    translateEntry(migrated, "date pattern index", "datePatterns0", "datePatterns");
    translateEntry(migrated, "time pattern index", "timePatterns0", "timePatterns");
    return migrated;
}

void RenameToDateAction::setParameterList(const plist::Dictionary& list) {
    BaseRenameAction::setParameterList(migratedParameterList(list));
}

std::optional<std::u16string> RenameToDateAction::dateTextFor(const std::string& path,
                                                              InputContext& input) {
    prepareParametersIfChanged();
    FileInformation& files = input.files();
    const std::optional<double> date = dateOf(files, paramMode, path);
    if (!date || *date == kDistantPast)
        return std::nullopt;
    return DateFormatter::instance().formatDate(*date, paramDatePatternIndex, paramTimePatternIndex,
                                                paramSeparatorMode, paramUppercase != 0);
}

std::u16string RenameToDateAction::processName(const std::u16string& fragment,
                                               const std::string& path, InputContext& input) {
    return dateTextFor(path, input).value_or(fragment);
}

} // namespace morvane
