#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

#include <optional>
#include <vector>

namespace morvane {

// "Rename to date": replaces the fragment by a date of the item, formatted by
// the shared DateFormatter. "mode" picks the date: 0 creation, 1 modification,
// 2 EXIF capture date, 3 "now" (the attribute service's fixed instant, the same
// for every item and every preview). An item without that date keeps its name.
//
// Settings saved without "version" number their patterns by the old tables
// ("datePatterns0", "timePatterns0"); setParameterList translates them to the
// current numbering before merging.
class RenameToDateAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Rename to date";
    std::string actionName() const override { return kActionName; }

    RenameToDateAction();

    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    void setParameterList(const plist::Dictionary& list) override;

    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The titles of the two pattern menus, parallel to the pattern tables.
    const std::vector<std::string>& dateMenuItems() const { return dateMenuItems_; }
    const std::vector<std::string>& timeMenuItems() const { return timeMenuItems_; }

    // A parameter list in the current numbering: a list with "version" as it
    // is; one without has its pattern indices translated (only those it holds).
    static plist::Dictionary migratedParameterList(const plist::Dictionary& list);

protected:
    // The formatted date of the item, or nothing when it has no such date (or
    // the settings name no format).
    std::optional<std::u16string> dateTextFor(const std::string& path, InputContext& input);

    std::int32_t paramDatePatternIndex = 1;
    std::int32_t paramTimePatternIndex = 1;
    std::int32_t paramUppercase = 1;
    std::int32_t paramMode = 0;
    std::int32_t paramSeparatorMode = 0;

private:
    std::vector<std::string> dateMenuItems_;
    std::vector<std::string> timeMenuItems_;
};

} // namespace morvane
