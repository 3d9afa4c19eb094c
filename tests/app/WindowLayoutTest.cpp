// Frames have y growing upwards; the main window stands at (100, 300) with
// 600 by 400 points, so its right edge is at 700 and its top at 700.
#include "MRVN7x/app/WindowLayout.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::WindowLayout;

namespace {
const Frame kMain{100, 300, 600, 400};
const Frame kScreen{0, 0, 1600, 1000};
} // namespace

TEST(WindowLayout, DockingTestsWithTheirThirtyPointGap) {
    struct Case {
        Frame preview;
        bool right, bottom, top;
    };
    const Case cases[] = {
        {{701, 300, 500, 394}, true, false, false},  // right, 1 point off
        {{729, 300, 500, 394}, true, false, false},  // 29 points
        {{731, 300, 500, 394}, false, false, false}, // 31 points
        {{100, 0, 600, 300}, false, true, false},    // right below
        {{100, 0, 600, 271}, false, true, false},    // 29 below
        {{100, 700, 600, 200}, false, false, true},  // right above
        {{1000, 0, 300, 200}, false, false, false},  // apart
        {{701, 900, 500, 300}, false, false, false}, // right of it, but above its top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preview.x);
        EXPECT_EQ(isRightDocked(kMain, c.preview), c.right);
        EXPECT_EQ(isBottomDocked(kMain, c.preview), c.bottom);
        EXPECT_EQ(isTopDocked(kMain, c.preview), c.top);
        EXPECT_EQ(isDocked(kMain, c.preview), c.right || c.bottom || c.top);
    }
}

TEST(WindowLayout, SnappingAfterAMoveKeepsTheSize) {
    const std::pair<Frame, Frame> cases[] = {
        // 29 points right of the right edge: 1 point beyond it; 31: stays.
        {{729, 100, 500, 350}, {701, 100, 500, 350}},
        {{731, 100, 500, 350}, {731, 100, 500, 350}},
        // The top 20 points below the main window's top: 6 points below it.
        {{900, 480, 300, 200}, {900, 494, 300, 200}},
        // Just below, its left edge near: aligned under the main window.
        {{110, 95, 600, 190}, {100, 110, 600, 190}},
        // Just above the top edge: 3 points above it.
        {{1000, 720, 300, 200}, {1000, 703, 300, 200}},
    };
    for (const auto& [dropped, snapped] : cases)
        EXPECT_EQ(snapAfterMove(kMain, dropped), snapped) << dropped.x << "," << dropped.y;
}

TEST(WindowLayout, PlacementCommandsMakeRoomOnTheScreen) {
    EXPECT_EQ(placeAtRightEdge(kMain), (Frame{701, 300, 500, 394}));
    // Enough room below: 300 points.
    EXPECT_EQ(placeAtBottomEdge(kMain, kScreen).preview, (Frame{100, 0, 600, 300}));
    // 80 points: the main window first goes up to 300 above the screen's bottom.
    const WindowFrames lifted = placeAtBottomEdge({100, 80, 600, 400}, kScreen);
    EXPECT_EQ(lifted.main, (Frame{100, 300, 600, 400}));
    EXPECT_EQ(lifted.preview, (Frame{100, 0, 600, 300}));
    // 150 points above: a preview of 150 points, snapped 3 points above the
    // top edge as after a move; nothing else moves.
    const WindowFrames above = placeAtTopEdge({100, 450, 600, 400}, kScreen);
    EXPECT_EQ(above.main, (Frame{100, 450, 600, 400}));
    EXPECT_EQ(above.preview, (Frame{100, 853, 600, 150}));
    // 50 points above: the main window goes down first.
    const WindowFrames lowered = placeAtTopEdge({100, 550, 600, 400}, kScreen);
    EXPECT_EQ(lowered.main.y, 300);
    EXPECT_EQ(lowered.preview, (Frame{100, 703, 600, 300}));
}

TEST(WindowLayout, FirstLaunchSideBySideOnlyOnScreensLargeEnough) {
    EXPECT_FALSE(fitsSideBySide({0, 0, 1125, 800}));
    EXPECT_FALSE(fitsSideBySide({0, 0, 1400, 599}));
    ASSERT_TRUE(fitsSideBySide({0, 0, 1126, 600}));
    const WindowFrames frames = firstLaunchLayout(kMain, {0, 0, 1126, 600});
    EXPECT_EQ(frames.main, (Frame{13, 250, 600, 400}));     // top 250 above two thirds
    EXPECT_EQ(frames.preview, (Frame{614, 144, 500, 500})); // top 6 points lower
}

TEST(WindowLayout, APreviewRightBelowFollowsTheMainWindowDownToAHundredPoints) {
    const Frame taller{100, 260, 600, 440}; // a view 40 points taller, the top kept
    EXPECT_EQ(previewFollowingMainResize(kMain, taller, {100, 100, 600, 200}),
              (Frame{100, 100, 600, 160}));
    EXPECT_EQ(previewFollowingMainResize(kMain, taller, {100, 180, 600, 120}),
              (Frame{100, 160, 600, 100}));
    // Not right below (15 points of gap): it stays.
    EXPECT_EQ(previewFollowingMainResize(kMain, taller, {100, 85, 600, 200}),
              (Frame{100, 85, 600, 200}));
}

TEST(WindowLayout, ResizeAlignsEdgesAndZoomFillsTheDockedSide) {
    // Its bottom dragged 10 points below the main window's: aligned, top kept.
    const WindowFrames resized = afterPreviewResize(kMain, {701, 290, 500, 404}, true);
    EXPECT_EQ(resized.preview, (Frame{701, 300, 500, 394}));
    EXPECT_EQ(resized.main, kMain);
    // Resized away from every edge: the main window goes below it.
    const WindowFrames apart = afterPreviewResize(kMain, {1000, 500, 300, 300}, false);
    EXPECT_EQ(apart.main.y, 100);
    EXPECT_EQ(zoomedPreview(kMain, {701, 300, 500, 394}, kScreen), (Frame{701, 0, 899, 694}));
    EXPECT_EQ(zoomedPreview(kMain, {100, 0, 600, 300}, kScreen), (Frame{100, 0, 1500, 300}));
    EXPECT_EQ(zoomedPreview(kMain, {100, 700, 600, 200}, kScreen), (Frame{100, 700, 1500, 300}));
    EXPECT_EQ(zoomedPreview(kMain, {1000, 0, 300, 200}, kScreen), (Frame{1000, 0, 300, 200}));
}
