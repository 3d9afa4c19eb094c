#pragma once
// Where the preview window goes relative to the main window: the docking
// tests, the snapping after a move, the rules of a resize, the placement
// commands, the first-launch layout, the zoomed frame and the preview's part
// in a joint resize. Pure functions over frames in screen points with y
// growing upwards; the window code converts its own coordinates once, at its
// edge, and applies the frames these give.
namespace morvane {

struct Frame {
    double x = 0, y = 0, w = 0, h = 0;
    double right() const { return x + w; }
    double top() const { return y + h; }
    // True when the two frames share an area (touching edges share none).
    bool intersects(const Frame& other) const;
    bool operator==(const Frame&) const = default;
};

struct WindowFrames {
    Frame main;
    Frame preview;
    bool operator==(const WindowFrames&) const = default;
};

namespace WindowLayout {

inline constexpr int kDockingDistance = 30;
inline constexpr double kPreviewWidth = 500;
inline constexpr double kPlacedHeight = 300;
inline constexpr double kMinimumPreviewHeight = 100;

// A gap counts as small when its absolute value, cut to a whole number, is below 30.
bool isSmall(double gap);

bool isRightDocked(const Frame& main, const Frame& preview);
bool isBottomDocked(const Frame& main, const Frame& preview);
bool isTopDocked(const Frame& main, const Frame& preview);
// Bottom, then top, then right.
bool isDocked(const Frame& main, const Frame& preview);

// The preview's frame after the user moved it: edges close to the main
// window's snap to them; its size never changes.
Frame snapAfterMove(const Frame& main, const Frame& preview);
// After the user resized the preview: edges aligned, and the main window
// placed below the preview when the resize pushed into it or undocked it.
WindowFrames afterPreviewResize(const Frame& main, const Frame& preview, bool wasDocked);

// The placement commands, within the visible frame of the main window's screen.
Frame placeAtRightEdge(const Frame& main);
WindowFrames placeAtBottomEdge(const Frame& main, const Frame& screen);
WindowFrames placeAtTopEdge(const Frame& main, const Frame& screen);

// Side by side on a screen of at least 1126 by 600 points; nothing (the
// preview stays in the main window) on a smaller one.
bool fitsSideBySide(const Frame& screen);
WindowFrames firstLaunchLayout(const Frame& main, const Frame& screen);

// The preview zoomed into the free part of the screen on its docked side.
Frame zoomedPreview(const Frame& main, const Frame& preview, const Frame& screen);

// The preview's frame when the main window changes from oldMain to newMain
// with its top edge kept: a preview right below follows the bottom edge,
// down to 100 points high, then moves down instead.
Frame previewFollowingMainResize(const Frame& oldMain, const Frame& newMain, const Frame& preview);

// The window moved as little as needed to lie within the screen, its top-left
// corner first where it is larger.
Frame keptOnScreen(const Frame& window, const Frame& screen);

} // namespace WindowLayout
} // namespace morvane
