#include "MRVN7x/actions/ChangeNumbersAction.h"

#include "MRVN7x/actions/NumberTokenizer.h"

#include <limits>

namespace morvane {

namespace {
// A plain digit string as an integer; values beyond the 32-bit range read as its maximum.
std::int64_t readRun(const std::u16string& digits) {
    constexpr std::int64_t maximum = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char16_t unit : digits) {
        value = value * 10 + (unit - u'0');
        if (value > maximum)
            return maximum;
    }
    return value;
}
} // namespace

plist::Dictionary ChangeNumbersAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["padding"] = plist::Value(1);
    params["operand"] = plist::Value(0);
    params["operation mode"] = plist::Value(0);
    params["block mode"] = plist::Value(6);
    return params;
}

void ChangeNumbersAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramPadding = getParamInt("padding", 1);
    paramOperand = getParamInt("operand", 0);
    paramOperationMode = getParamInt("operation mode", 0);
    paramBlockMode = getParamInt("block mode", 6);
}

std::u16string ChangeNumbersAction::formatNumber(std::int64_t value, std::int32_t padding) {
    const bool negative = value < 0;
    // The magnitude as unsigned, so even the most negative value has one.
    std::uint64_t magnitude =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(value) : std::uint64_t(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    const std::size_t width = digits.size() + (negative ? 1 : 0);
    const std::size_t wanted = padding > 0 ? static_cast<std::size_t>(padding) : 0;
    std::u16string result = negative ? u"-" : u"";
    if (wanted > width)
        result.append(wanted - width, u'0');
    return result + digits;
}

std::u16string ChangeNumbersAction::processName(const std::u16string& fragment, const std::string&,
                                                InputContext&) {
    if (paramPadding < 0 || paramPadding > kMaximumPadding)
        return fragment;
    const NumberTokenizer tokenizer(fragment);
    const std::int64_t mode = paramBlockMode;
    const auto run = mode <= 5 ? tokenizer.getNumberTokenRangeFromLeft(mode)
                               : tokenizer.getNumberTokenRangeFromRight(mode - 6);
    if (run.location == NumberTokenizer::kNotFound)
        return fragment;
    const std::int64_t value = readRun(fragment.substr(run.location, run.length));
    const std::int64_t result =
        paramOperationMode == 0 ? value + paramOperand : value - paramOperand;
    return fragment.substr(0, run.location) + formatNumber(result, paramPadding) +
           fragment.substr(run.location + run.length);
}

} // namespace morvane
