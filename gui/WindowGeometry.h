#pragma once
// Window frames between Qt and the layout rules: Qt measures from the top of
// the virtual desktop with y growing downwards, the rules from its bottom with
// y growing upwards; frames include the window manager's decorations.
#include "MRVN7x/app/WindowLayout.h"

#include <chrono>

class QWidget;

namespace morvane::gui::WindowGeometry {

// True where the window system lets a program read and set where its windows
// are (X11); Wayland keeps that to the compositor.
bool canPlaceWindows();

Frame frameOf(const QWidget* window);
// The visible part of the window's screen: without panels and docks.
Frame visibleScreenFrame(const QWidget* window);
void setFrame(QWidget* window, const Frame& frame);

// Both windows to their frames, moving together over the duration (at once
// for zero); returns when they are there. A hidden preview is only placed.
void moveTogether(QWidget* main, QWidget* preview, const WindowFrames& to,
                  std::chrono::milliseconds duration);

} // namespace morvane::gui::WindowGeometry
