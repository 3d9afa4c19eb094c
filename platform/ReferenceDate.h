#pragma once
// Dates as the stored settings and the steps count them: seconds since
// 1 January 2001 00:00:00 UTC.
#include <chrono>

namespace morvane {

// Seconds from 1 January 1970 to 1 January 2001, both 00:00:00 UTC.
inline constexpr double kUnixToReference = 978307200.0;

inline double currentReferenceSeconds() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count() - kUnixToReference;
}

} // namespace morvane
