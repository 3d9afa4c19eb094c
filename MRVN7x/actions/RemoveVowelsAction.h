#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Remove vowels": walks the fragment by composed character sequences and drops
// every sequence whose first unit is a, e, i, o, u or y of either case. So a
// decomposed accented vowel goes together with its marks, and a precomposed
// one (U+00E9) stays, since its one unit is not the plain letter.
class RemoveVowelsAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Remove vowels";
    std::string actionName() const override { return kActionName; }
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
