#include "MRVN7x/actions/sequence/AlphabeticalListBasedAction.h"

#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"
#include "platform/PathText.h"

#include <algorithm>
#include <limits>

namespace morvane {

plist::Dictionary AlphabeticalListBasedAction::defaultParameters() const {
    auto params = SortBasedAction::defaultParameters();
    params["startValue"] = plist::Value("A");
    params["step value"] = plist::Value(1);
    params["padding"] = plist::Value(1);
    return params;
}

void AlphabeticalListBasedAction::prepareParameters() {
    SortBasedAction::prepareParameters();
    paramStartValue = getParamText("startValue");
    paramStepValue = getParamInt("step value", 0);
    paramPadding = getParamInt("padding", 0);
}

std::int32_t AlphabeticalListBasedAction::uAlphaToNum(const std::u16string& letters) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    const std::u16string upper = UnicodeText::uppercase(letters);
    std::int64_t total = 0;
    std::int64_t weight = 1;
    for (auto it = upper.rbegin(); it != upper.rend(); ++it) {
        std::int64_t digit = 0;
        if (*it > u'Z')
            digit = 25;
        else if (*it >= u'A')
            digit = *it - u'A';
        if (digit != 0)
            total =
                weight > kLargest ? kLargest + 1 : std::min(total + digit * weight, kLargest + 1);
        weight = std::min(weight * 26, kLargest + 1);
    }
    return static_cast<std::int32_t>(std::min(total, kLargest));
}

std::u16string AlphabeticalListBasedAction::uNumToAlpha(std::int32_t value) {
    if (value < 0)
        return {};
    std::u16string letters;
    do {
        letters.push_back(static_cast<char16_t>(u'A' + value % 26));
        value /= 26;
    } while (value != 0);
    std::reverse(letters.begin(), letters.end());
    return letters;
}

std::u16string AlphabeticalListBasedAction::normalisedStartValue(const std::u16string& typed) {
    std::u16string upper = UnicodeText::uppercase(typed);
    if (upper.size() > kStartValueLength)
        upper.resize(kStartValueLength);
    return uNumToAlpha(uAlphaToNum(upper));
}

Result<std::optional<plist::Value>>
AlphabeticalListBasedAction::validatedValueForKey(const std::string& key,
                                                  std::optional<plist::Value> value) {
    if (key != "startValue" || !value || !value->asString())
        return SortBasedAction::validatedValueForKey(key, std::move(value));
    return std::optional<plist::Value>(
        plist::Value(toU8(normalisedStartValue(toU16(*value->asString())))));
}

std::optional<std::u16string>
AlphabeticalListBasedAction::getFormattedAlphabeticalString(InputContext& input) {
    prepareParametersIfChanged();
    const std::int32_t place = getSortIndex(input);
    if (place < 1)
        return std::nullopt;
    const std::int32_t value =
        SortNumberBasedAction::sequenceValue(place, paramStepValue, uAlphaToNum(paramStartValue));
    std::u16string letters = uNumToAlpha(value);
    if (letters.empty())
        return std::nullopt;
    const auto width = static_cast<size_t>(std::clamp(paramPadding, 0, kMaximumWidth));
    if (letters.size() < width)
        letters.insert(0, width - letters.size(), u'A');
    return letters;
}

std::u16string AlphabeticalListBasedAction::processName(const std::u16string& fragment,
                                                        const std::string&, InputContext& input) {
    return getFormattedAlphabeticalString(input).value_or(fragment);
}

} // namespace morvane
