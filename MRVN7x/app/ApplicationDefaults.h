#pragma once
// The renaming application's own preferences domain.
#include "MRVN7x/actions/ActionList.h"
#include "platform/UserDefaults.h"

namespace morvane {

inline constexpr const char* kApplicationDomain = "net.halvard.mrvn7";

// The shared instance for this process, opened on first use.
UserDefaults& applicationDefaults();
// The action registry over that domain.
ActionList& applicationActionList();

} // namespace morvane
