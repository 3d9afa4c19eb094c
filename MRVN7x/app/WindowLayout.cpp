#include "MRVN7x/app/WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace morvane {

bool Frame::intersects(const Frame& other) const {
    return w > 0 && h > 0 && other.w > 0 && other.h > 0 && x < other.right() && other.x < right() &&
           y < other.top() && other.y < top();
}

namespace WindowLayout {

bool isSmall(double gap) {
    return std::abs(std::trunc(gap)) < kDockingDistance;
}

bool isRightDocked(const Frame& main, const Frame& preview) {
    const Frame shifted{preview.x - kDockingDistance, preview.y, preview.w, preview.h};
    return shifted.intersects(main) && isSmall(main.right() - preview.x);
}

bool isBottomDocked(const Frame& main, const Frame& preview) {
    const Frame extended{preview.x, preview.y, preview.w, preview.h + kDockingDistance};
    return extended.intersects(main) && isSmall(main.y - preview.top());
}

bool isTopDocked(const Frame& main, const Frame& preview) {
    const Frame shifted{preview.x, preview.y - kDockingDistance, preview.w, preview.h};
    return shifted.intersects(main) && isSmall(main.top() - preview.y);
}

bool isDocked(const Frame& main, const Frame& preview) {
    return isBottomDocked(main, preview) || isTopDocked(main, preview) ||
           isRightDocked(main, preview);
}

// Each rule looks at the values the rules before it left.
Frame snapAfterMove(const Frame& main, const Frame& preview) {
    Frame p = preview;
    if (isSmall(main.right() - p.right()))
        p.x = main.right() - p.w;
    if (isSmall(main.x - p.x))
        p.x = main.x;
    if (isSmall(main.y - p.y))
        p.y = main.y;
    if (isSmall(main.top() - p.top()))
        p.y = main.top() - p.h - 6;
    if (isSmall(main.right() - p.x))
        p.x = main.right() + 1;
    if (isSmall(p.top() - main.y))
        p.y = main.y - p.h;
    if (isSmall(p.y - main.top()))
        p.y = main.top() + 3;
    return p;
}

WindowFrames afterPreviewResize(const Frame& main, const Frame& preview, bool wasDocked) {
    WindowFrames frames{main, preview};
    Frame& p = frames.preview;
    Frame& m = frames.main;
    if (const double bottoms = m.y - p.y; isSmall(bottoms)) {
        p.y = m.y; // the top edge stays
        p.h -= bottoms;
    }
    if (const double rights = m.right() - p.right(); isSmall(rights))
        p.w += rights;
    const Frame raisedMain{m.x, m.y, m.w, m.h + 20};
    if ((wasDocked && p.intersects(raisedMain)) || !isDocked(m, p))
        m.y = p.y - m.h;
    return frames;
}

Frame placeAtRightEdge(const Frame& main) {
    return snapAfterMove(main, {main.right() + 1, main.y, kPreviewWidth, main.h - 6});
}

WindowFrames placeAtBottomEdge(const Frame& main, const Frame& screen) {
    WindowFrames frames{main, {}};
    const double room = main.y - screen.y;
    double height = kPlacedHeight;
    if (room < kPlacedHeight && room > kMinimumPreviewHeight)
        height = std::trunc(room);
    else if (room < kPlacedHeight)
        frames.main.y = screen.y + kPlacedHeight; // the main window moves up first
    const Frame& m = frames.main;
    frames.preview = snapAfterMove(m, {m.x, m.y - height, m.w, height});
    return frames;
}

WindowFrames placeAtTopEdge(const Frame& main, const Frame& screen) {
    WindowFrames frames{main, {}};
    const double room = screen.top() - main.top();
    double height = kPlacedHeight;
    if (room < kPlacedHeight && room >= kMinimumPreviewHeight)
        height = std::trunc(room);
    else if (room < kPlacedHeight)
        frames.main.y = screen.top() - main.h - kPlacedHeight; // the main window moves down first
    const Frame& m = frames.main;
    frames.preview = snapAfterMove(m, {m.x, m.top(), m.w, height});
    return frames;
}

bool fitsSideBySide(const Frame& screen) {
    return screen.h >= 600 && screen.w >= 1126;
}

// Side by side, centred across the screen; the main window's top 250 points
// above two thirds of the screen's height, the preview's top 6 points lower.
WindowFrames firstLaunchLayout(const Frame& main, const Frame& screen) {
    const double twoThirds = screen.y + 2 * screen.h / 3;
    Frame m = main;
    m.x = screen.x + screen.w / 2 - (main.w + kPreviewWidth) / 2;
    m.y = twoThirds - 250 + 500 - main.h;
    return {m, {m.x + main.w + 1, twoThirds - 250 - 6, kPreviewWidth, 500}};
}

Frame zoomedPreview(const Frame& main, const Frame& preview, const Frame& screen) {
    if (isRightDocked(main, preview))
        return {preview.x, screen.y, screen.right() - preview.x, main.top() - screen.y - 6};
    if (isBottomDocked(main, preview))
        return {main.x, screen.y, screen.right() - main.x, main.y - screen.y};
    if (isTopDocked(main, preview))
        return {main.x, main.top(), screen.right() - main.x, screen.top() - main.top()};
    return preview;
}

Frame previewFollowingMainResize(const Frame& oldMain, const Frame& newMain, const Frame& preview) {
    const Frame raised{preview.x, preview.y, preview.w, preview.h + 10};
    if (!(std::abs(preview.top() - oldMain.y) < 10 && raised.intersects(oldMain)))
        return preview;
    Frame p = preview;
    p.h += oldMain.h - newMain.h;
    if (p.h < kMinimumPreviewHeight) {
        p.h = kMinimumPreviewHeight;
        p.y = newMain.y - p.h; // still meeting the main window's bottom
    }
    return p;
}

Frame keptOnScreen(const Frame& window, const Frame& screen) {
    Frame f = window;
    f.x = std::max(std::min(f.x, screen.right() - f.w), screen.x);
    f.y = std::min(std::max(f.y, screen.y), screen.top() - f.h);
    if (f.h > screen.h)
        f.y = screen.top() - f.h; // the title bar stays reachable
    return f;
}

} // namespace WindowLayout
} // namespace morvane
