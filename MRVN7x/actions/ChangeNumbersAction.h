#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Change numbers": adds "operand" to one run of ASCII digits ("operation
// mode" 0) or subtracts it (any other mode) and writes the result back in
// place, zero-filled to at least "padding" characters (a minus sign counts
// towards the width and stands before the zeros). "block mode" picks the run:
//     0 to 5   the first ... sixth run from the left
//     6        the last run
//     7 up     the second to last, third to last, ...
// A run's value above 2147483647 reads as 2147483647. The sum is computed in
// 64 bits, so it never wraps: 2147483647 + 1 is written as 2147483648.
//
// A padding outside 0 to 255 cannot apply (no name that long can be stored)
// and leaves the fragment unchanged; 0 behaves as 1.
class ChangeNumbersAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Change numbers";
    static constexpr std::int32_t kMaximumPadding = 255;
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // value in decimal, zero-filled on the left to at least padding characters.
    static std::u16string formatNumber(std::int64_t value, std::int32_t padding);

protected:
    std::int32_t paramPadding = 1;
    std::int32_t paramOperand = 0;
    std::int32_t paramOperationMode = 0;
    std::int32_t paramBlockMode = 6;
};

} // namespace morvane
