#pragma once
// The base of the numbering actions: the item's number is
// (place - 1) * "step value" + "start value", in 32-bit arithmetic, written in
// decimal and zero-filled on the left to at least "padding" characters.
#include "MRVN7x/actions/sequence/SortBasedAction.h"

#include <optional>

namespace morvane {

class SortNumberBasedAction : public SortBasedAction {
public:
    bool namesItemsIndependently() const override { return true; }
    // The widest number text: no file name can be longer.
    static constexpr std::int32_t kMaximumWidth = 255;

    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    // The item's number as text, after refreshing the parameters; nothing when
    // the item has no place in the file list.
    std::optional<std::u16string> getFormattedNumberString(InputContext& input);

    // The number alone (the leaf actions place it in the name).
    using SortBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // Decimal, zero-filled to padding characters with the minus sign counting
    // towards the width and standing in front of the zeros (-5 with 3: "-05").
    // A padding below 2 fills nothing; a wider number is never cut.
    static std::u16string formatNumber(std::int32_t value, std::int32_t padding);
    // (place - 1) * step + start, wrapping around like 32-bit integers do.
    static std::int32_t sequenceValue(std::int32_t place, std::int32_t step, std::int32_t start);

protected:
    std::int32_t paramStartValue = 1;
    std::int32_t paramStepValue = 1;
    std::int32_t paramPadding = 1;
    std::string paramFormattingString; // "%0<padding>d", the format the number is written in
};

} // namespace morvane
