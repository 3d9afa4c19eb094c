#pragma once
// Every key the application keeps in its own preferences domain.
#include "MRVN7x/app/GenericDontShowAgainDialogController.h"

namespace morvane::DefaultsKeys {

// Action name -> that action's last parameters ("MRVN global settings" included).
inline constexpr const char* actions = "actions";
// The chain as a flat parameter list.
inline constexpr const char* compositeAction = "composite action";
// 75600, written at every quit in normal mode.
inline constexpr const char* version = "version";
// Handed over by a droplet; removed right after reading.
inline constexpr const char* dropletSettings = "droplet settings";
inline constexpr const char* mainWindowPositionX = "main window position x";
inline constexpr const char* mainWindowPositionY = "main window position y";
// First-launch marker and the application's own bundle path.
inline constexpr const char* firstLaunchVersion = "firstLaunchVersion";
inline constexpr const char* location = "location";
// The notices the user may silence (their keys live with the notices).
inline constexpr const DontShowAgainNotice silenceableNotices[] = {
    Notices::previewCutoff,        Notices::conflicts,          Notices::noFilesSelected,
    Notices::inconsistentSettings, Notices::dropletInformation, Notices::dropletEditInformation};

} // namespace morvane::DefaultsKeys
