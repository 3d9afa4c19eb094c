#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Insert in front of text": inserts "text" right before the occurrence of
// "search term" that "mode" picks (the occurrence finder's numbering: 0 to 5
// from the start, 6 up from the end). Without that occurrence the fragment
// stays unchanged.
class InsertInFrontOfTextAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Insert in front of text";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The start index of the chosen occurrence in name, or -1.
    std::int64_t findInsertionPoint(const std::u16string& name) const;

protected:
    // Where "text" goes for a found occurrence.
    virtual std::size_t insertionIndex(const TextRange& occurrence) const;

    std::u16string paramSearchTerm;
    std::u16string paramText;
    std::int32_t paramMode = 0;
    SearchOptions paramMask = kCaseInsensitiveSearch;
};

} // namespace morvane
