#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Make propercase": upper-cases the first character and every character that
// follows a word separator; the others are lower-cased when "force to
// lowercase" is 1 and kept otherwise. "matching mode" says what separates
// words:
//     0            white space or a line break
//     1            punctuation, white space or a line break
//     2            anything that is neither a lower-case nor an upper-case letter
//     other        nothing (only the first character is capitalised)
// The name is walked by code points, so a letter outside the Basic
// Multilingual Plane is mapped as one character, never as two halves.
class ProperCaseAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Make propercase";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // Whether the character after c is capitalised, in the given matching mode.
    static bool startsNewWordAfter(char32_t c, std::int32_t matchingMode);

protected:
    std::int32_t paramMatchingMode = 0;
    std::int32_t paramForceToLowerCase = 0;
};

} // namespace morvane
