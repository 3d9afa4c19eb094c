#pragma once
// The renaming application's own preferences domain.
#include "platform/UserDefaults.h"

namespace morvane {

inline constexpr const char* kApplicationDomain = "net.halvard.mrvn7";

// The shared instance for this process, opened on first use.
UserDefaults& applicationDefaults();

} // namespace morvane
