#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

#include <array>

namespace morvane {

// "Replace characters": four pairs of a character set ("replace characters
// K") and a replacement of at most one character ("with K"), K = 0 to 3.
// The fragment is walked by composed character sequences; the first pair
// whose set contains the sequence (without regard to case when "ignore case
// K" is 1) replaces it by its "with K", which may be empty. A sequence that no
// pair matches stays. Replacements are not looked up again, and an empty set
// matches nothing.
class ReplaceCharactersAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Replace characters";
    static constexpr std::size_t kPairs = 4;
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    // Cuts each "with K" to one character, writing the cut value back.
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    static std::string replaceCharactersKey(std::size_t pair);
    static std::string withKey(std::size_t pair);
    static std::string ignoreCaseKey(std::size_t pair);

protected:
    std::array<std::u16string, kPairs> paramReplacementChars;
    std::array<std::u16string, kPairs> paramWithChars;
    std::array<SearchOptions, kPairs> subRangeMask{};
};

} // namespace morvane
