#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Replace at front": when the fragment begins with "replace" (without regard
// to case when "ignore case" is 1), that text is replaced by "with". Only the
// one occurrence at the very front is replaced.
//
// The match is the fragment's beginning that equals "replace" under the
// search options, and exactly that stretch is cut: with case folding or
// canonical equivalence it may be shorter or longer than "replace" itself
// ('Straße' begins with 'STRASSE').
class ReplaceAtFrontAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Replace at front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::u16string paramReplace;
    std::u16string paramWith;
    SearchOptions subRangeMask = kCaseInsensitiveSearch;
};

} // namespace morvane
