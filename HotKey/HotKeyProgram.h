#pragma once
// The tsy-hotkey program: one instance per user and display (PidFile), the
// back end chosen at start, and the main loop that re-registers every
// kRefreshInterval, dispatches presses and ends on SIGTERM, SIGINT or SIGHUP
// after releasing every key.
//
// Choosing the back end: TSY_HOTKEY_BACKEND=x11 or portal forces one. Else a
// Wayland session (WAYLAND_DISPLAY set, or XDG_SESSION_TYPE=wayland) uses the
// portal first, since X11 grabs there only see keys while an X window has
// focus, and falls back to X11 (logged as limited); any other session uses
// X11 first and then the portal. With neither, the program logs why and
// exits 0.
namespace tsyhotkey {

int runHotKeyProgram(int argc, char** argv);

} // namespace tsyhotkey
