#pragma once
// Parameter dictionaries made from fuzzer bytes: each default key gets a value
// of its own kind (a string of any UTF-8, any 64-bit integer) or, now and
// then, a value of another kind, as a damaged settings file could hold.
#include "platform/PlistValue.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

namespace morvane::fuzz {

inline plist::Value arbitraryValue(FuzzedDataProvider& input, const plist::Value* byDefault) {
    switch (input.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
        return plist::Value(input.ConsumeRandomLengthString(64));
    case 1:
        return plist::Value(input.ConsumeIntegral<std::int64_t>());
    case 2:
        return plist::Value(input.ConsumeFloatingPoint<double>());
    case 3:
        return plist::Value(plist::Array{});
    default:
        break;
    }
    if (byDefault && byDefault->isNumber())
        return plist::Value(input.ConsumeIntegralInRange<std::int64_t>(-300, 300));
    return plist::Value(input.ConsumeRandomLengthString(32));
}

// The defaults with some of their keys given arbitrary values.
inline plist::Dictionary arbitraryParameters(FuzzedDataProvider& input,
                                             const plist::Dictionary& defaults) {
    plist::Dictionary params = defaults;
    for (auto& [key, value] : params)
        if (input.ConsumeBool())
            value = arbitraryValue(input, &value);
    return params;
}

// Arbitrary UTF-16 units, lone surrogates included.
inline std::u16string arbitraryUtf16(FuzzedDataProvider& input, size_t maximumUnits) {
    std::u16string text;
    const size_t units = input.ConsumeIntegralInRange<size_t>(0, maximumUnits);
    for (size_t i = 0; i < units && input.remaining_bytes() > 0; ++i)
        text += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
    return text;
}

} // namespace morvane::fuzz
