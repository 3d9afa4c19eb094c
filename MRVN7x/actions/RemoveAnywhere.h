#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Remove anywhere": removes the stretch between a start and an end index.
// Each end is a position (from the start or from the end of the fragment) or
// an occurrence of a search text (its start or its end; the occurrence
// finder's numbering, always searched in the whole fragment); the end may also
// be a number of units forward or backward from the start.
//
// Nothing is clamped: a missing occurrence, an index outside the fragment or
// a start after the end leaves the fragment unchanged, and so does a stretch
// whose ends would cut a surrogate pair in half. The end of an occurrence is
// where the matched text ends in the fragment, which may differ from start +
// length of the search text when a case-insensitive match has another length.
// Indexes are computed in 64 bits, so no stored number can overflow them.
class RemoveAnywhere : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Remove anywhere";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The occurrence finder on name; nothing when there is no such occurrence.
    static std::optional<TextRange> findOccurence(const std::u16string& name,
                                                  const std::u16string& term,
                                                  std::int64_t occurence, SearchOptions options);
    // The two ends of the stretch; nothing when the setting finds no index.
    std::optional<std::int64_t> findFromPosition(const std::u16string& name) const;
    std::optional<std::int64_t> findToPosition(const std::u16string& name,
                                               std::int64_t fromPosition) const;

protected:
    std::int32_t paramFromMode = 0;
    std::int32_t paramFromPositionNumber = 0;
    std::int32_t paramFromWhichEndOfPosition = 0;
    std::int32_t paramFromWhichOccurence = 0;
    std::int32_t paramFromWhichEndOfOccurence = 0;
    SearchOptions paramFromOccurenceMask = kCaseInsensitiveSearch;
    std::u16string paramFromSearchTerm;
    std::int32_t paramToMode = 0;
    std::int32_t paramToPositionNumber = 0;
    std::int32_t paramToWhichEndOfPosition = 0;
    std::int32_t paramToWhichEndOfOccurence = 0;
    std::int32_t paramToOccurenceNumber = 0;
    SearchOptions paramToOccurenceMask = kCaseInsensitiveSearch;
    std::u16string paramToSearchTerm;
    std::int32_t paramRemoveNumberOfCharacters = 0;
    std::int32_t paramRemoveNumberOfCharactersFromWhichEnd = 0;
};

} // namespace morvane
