#pragma once
// Restarting the user's file manager, so that it picks up newly installed or
// removed context-menu entries.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace morvane::FileManagerRestart {

// A file manager that can be asked to quit and started again without
// opening a window: Nautilus, Nemo, Caja and Thunar. Others (Dolphin,
// PCManFM) have no such commands and are not restarted.
struct Known {
    std::string process; // its process name (/proc/PID/comm)
    std::vector<std::string> quit;
    std::vector<std::string> start;
};
const std::vector<Known>& knownFileManagers();

// The first known file manager that runs for this user (zombies do not count).
std::optional<Known> running();

// Restarts the first known file manager that runs for this user: runs its
// quit command, waits until it is gone (at most quitDelay), then starts it
// again. False when none runs, or a step fails; each failure is logged.
bool restart(std::chrono::milliseconds quitDelay);

} // namespace morvane::FileManagerRestart
