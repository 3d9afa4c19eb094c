#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Truncate": cuts the fragment to "number of characters" units. With "smart"
// on, the text from the first "." on (the extension-like tail) is kept whole
// when it is shorter than the limit and the part before it is cut instead;
// a tail as long as the limit or longer keeps only its last units.
//
// A cut never falls inside a surrogate pair: the result then keeps one unit
// less (or drops the whole pair), so it never exceeds the limit and is always
// a name that can be written. A negative limit leaves the fragment unchanged.
class TruncateAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Truncate";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // At most the first (last) count units of text, never half a surrogate pair.
    static std::u16string firstUnits(const std::u16string& text, std::size_t count);
    static std::u16string lastUnits(const std::u16string& text, std::size_t count);

protected:
    std::int32_t paramNumberOfCharacters = 0;
    std::int32_t paramSmart = 0;
};

} // namespace morvane
