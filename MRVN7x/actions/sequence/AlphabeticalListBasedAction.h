#pragma once
// The base of the letter-sequence actions. Letters are a base-26 numeral with
// A = 0 ... Z = 25, the last letter lowest: A, B, ..., Z, BA, BB, ... (after
// Z comes BA, because A is the zero digit). The item's value is
// (place - 1) * "step value" + the value of "startValue", in 32-bit
// arithmetic; "padding" puts A characters in front up to that length.
#include "MRVN7x/actions/sequence/SortBasedAction.h"

#include <optional>

namespace morvane {

class AlphabeticalListBasedAction : public SortBasedAction {
public:
    // The longest start value kept, and the widest padding honoured.
    static constexpr size_t kStartValueLength = 6;
    static constexpr std::int32_t kMaximumWidth = 255;

    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    // The item's letters, after refreshing the parameters; nothing when the
    // item has no place in the file list or its value is below zero (only
    // letters A to Z are ever written, and they have no negative numbers).
    std::optional<std::u16string> getFormattedAlphabeticalString(InputContext& input);

    // The letters alone (the leaf actions place them in the name).
    using SortBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // Letters to number, after upper-casing: A to Z are their digits, a unit
    // above Z counts as Z, a unit below A as A; the empty text is 0. Values
    // beyond the 32-bit range read as the largest one.
    static std::int32_t uAlphaToNum(const std::u16string& letters);
    // Number to letters without leading A digits (0 is "A"); empty below zero.
    static std::u16string uNumToAlpha(std::int32_t value);
    // A typed start value normalised: upper-cased, cut to 6 characters, and
    // rewritten as the letters of its number ("aab" becomes "B"). Every text
    // has one, so nothing is ever refused.
    static std::u16string normalisedStartValue(const std::u16string& typed);

    // The validation hook of the key interface: "startValue" is normalised.
    Result<std::optional<plist::Value>>
    validatedValueForKey(const std::string& key, std::optional<plist::Value> value) override;

protected:
    std::u16string paramStartValue;
    std::int32_t paramStepValue = 0;
    std::int32_t paramPadding = 0;
};

} // namespace morvane
