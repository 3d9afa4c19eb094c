#pragma once
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Insert number in front of existing text": the item's number inserted just
// before the occurrence of "search term" that "mode" picks (0 to 5: the first
// to the sixth from the start; 6: the last; 7 and up: the second to last and
// on). No such occurrence leaves the name unchanged.
class InsertNumberInFrontOfExistingTextAction : public SortNumberBasedAction {
public:
    static constexpr const char* kActionName = "Insert number in front of existing text";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using SortNumberBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The start index of the chosen occurrence in name, or -1 when there is none.
    std::int64_t findInsertionPoint(const std::u16string& name) const;

protected:
    // Where the number goes, given the chosen occurrence.
    virtual std::size_t insertionIndex(const TextRange& occurrence) const;

    std::u16string paramSearchTerm;
    std::int32_t paramMode = 0;
    SearchOptions paramMask = kExactSearch;
};

} // namespace morvane
