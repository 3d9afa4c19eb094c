#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"

#include <algorithm>

namespace morvane {

plist::Dictionary SortNumberBasedAction::defaultParameters() const {
    auto params = SortBasedAction::defaultParameters();
    params["start value"] = plist::Value(1);
    params["step value"] = plist::Value(1);
    params["padding"] = plist::Value(2);
    return params;
}

void SortNumberBasedAction::prepareParameters() {
    SortBasedAction::prepareParameters();
    paramStartValue = getParamInt("start value", 1);
    paramStepValue = getParamInt("step value", 1);
    paramPadding = getParamInt("padding", 1);
    paramFormattingString = "%0" + std::to_string(paramPadding) + "d";
}

std::int32_t SortNumberBasedAction::sequenceValue(std::int32_t place, std::int32_t step,
                                                  std::int32_t start) {
    const auto offset = static_cast<std::uint32_t>(place) - 1u;
    return static_cast<std::int32_t>(offset * static_cast<std::uint32_t>(step) +
                                     static_cast<std::uint32_t>(start));
}

std::u16string SortNumberBasedAction::formatNumber(std::int32_t value, std::int32_t padding) {
    const bool negative = value < 0;
    // The magnitude as unsigned, so that the lowest 32-bit value has one too.
    std::uint32_t magnitude =
        negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    std::u16string digits;
    do {
        digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    const auto width = static_cast<size_t>(std::clamp(padding, 0, kMaximumWidth));
    const size_t used = digits.size() + (negative ? 1 : 0);
    if (used < width)
        digits.append(width - used, u'0');
    if (negative)
        digits.push_back(u'-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::optional<std::u16string> SortNumberBasedAction::getFormattedNumberString(InputContext& input) {
    prepareParametersIfChanged();
    const std::int32_t place = getSortIndex(input);
    if (place < 1)
        return std::nullopt;
    return formatNumber(sequenceValue(place, paramStepValue, paramStartValue), paramPadding);
}

std::u16string SortNumberBasedAction::processName(const std::u16string& fragment,
                                                  const std::string&, InputContext& input) {
    return getFormattedNumberString(input).value_or(fragment);
}

} // namespace morvane
