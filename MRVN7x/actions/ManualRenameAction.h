#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Manually rename": leaves every name as the earlier steps made it; the
// rename run stops at each item and lets the user edit the proposed name in
// the confirmation dialog, with the first occurrence of "select string"
// pre-selected (without regard to case when "ignore case" is 1).
class ManualRenameAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Manually rename";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // A copy of "select string" and the search options (1 or 0), refreshed first.
    std::u16string getTheSelectionString();
    SearchOptions getMask();

    // What the dialog's name field pre-selects in text: the first occurrence of
    // selection under the mask, or the whole text when there is none (and
    // always for an empty selection text).
    static TextRange preselectedRange(const std::u16string& text, const std::u16string& selection,
                                      SearchOptions mask);

protected:
    std::u16string paramSelectString;
    SearchOptions paramMask = kCaseInsensitiveSearch;
};

} // namespace morvane
