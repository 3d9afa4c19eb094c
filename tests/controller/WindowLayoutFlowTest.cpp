// The controller's side of the window layout: which home the preview gets,
// what a move or a resize of a window leads to, and the saved position, with
// a port that holds two frames the way a window system would.
#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;
using namespace std::chrono_literals;

namespace {
class WindowsPort : public FakePort {
public:
    bool placeable = true;
    WindowFrames frames{{100, 400, 600, 400}, {701, 400, 500, 394}};
    Frame screen{0, 0, 1600, 1000};
    std::optional<int> drawerWidth;
    std::vector<std::pair<WindowFrames, std::chrono::milliseconds>> applied;
    std::vector<int> presented;
    std::vector<std::chrono::milliseconds> fades;

    bool canPlaceWindows() override { return placeable; }
    WindowFrames windowFrames() override { return frames; }
    Frame screenFrame() override { return screen; }
    void setWindowFrames(const WindowFrames& f, std::chrono::milliseconds duration) override {
        frames = f;
        applied.emplace_back(f, duration);
    }
    std::optional<int> openPreviewDrawerWidth() override { return drawerWidth; }
    void presentPreview(int mode) override { presented.push_back(mode); }
    void fadeOutWindows(std::chrono::milliseconds duration) override { fades.push_back(duration); }
};

struct LayoutFixture {
    TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    ActionList registry{defaults};
    WindowsPort port;
    FakeTimer timer;
    std::unique_ptr<MainController> controller;

    explicit LayoutFixture(bool placeable = true) {
        port.placeable = placeable;
        controller = std::make_unique<MainController>(port, defaults, registry, &timer);
        controller->applicationDidFinishLaunching();
        timer.advance(1);
    }
    int mode() { return controller->globalSettings().getPreviewModeAsInt(); }
};
} // namespace

TEST(WindowLayoutFlow, WithoutPlaceableWindowsThePreviewStaysInTheDrawer) {
    LayoutFixture f(false);
    f.controller->showPreviewInSeparateWindow();
    f.timer.advance(1);
    EXPECT_EQ(f.mode(), 1); // kept for sessions where windows can be placed
    ASSERT_FALSE(f.port.presented.empty());
    EXPECT_EQ(f.port.presented.back(), 0);
    f.port.frames.preview = {729, 400, 500, 394}; // reported, but not to be trusted
    f.controller->previewWindowDidMove();
    f.controller->saveWindowPosition();
    EXPECT_TRUE(f.port.applied.empty());
    EXPECT_FALSE(f.defaults.objectForKey("main window position x"));
    EXPECT_FALSE(f.controller->restoreWindowPosition());
}

TEST(WindowLayoutFlow, ClosingTheDrawerMovesThePreviewIntoItsWindow) {
    LayoutFixture f;
    ASSERT_EQ(f.mode(), 0);
    f.port.drawerWidth = 512;
    f.controller->readPreviewPaneWidth();
    EXPECT_EQ(f.controller->globalSettings().getPreviewPaneWidthAsInt(), 512);
    f.controller->previewDrawerDidClose();
    f.timer.advance(1);
    EXPECT_EQ(f.mode(), 1);
    EXPECT_EQ(f.port.presented.back(), 1);
    f.controller->previewDrawerDidClose(); // the window's own closing is not the drawer's
    EXPECT_EQ(f.mode(), 1);
}

TEST(WindowLayoutFlow, AMovedPreviewSnapsAndThenTravelsWithTheMainWindow) {
    struct Case {
        double droppedAt; // the preview's left edge, points right of the main window's right edge
        double expectedX;
        bool docked;
    };
    for (const Case& c : {Case{29, 701, true}, Case{31, 731, false}, Case{-20, 701, true}}) {
        LayoutFixture f;
        f.controller->showPreviewInSeparateWindow();
        f.port.frames.preview = {700 + c.droppedAt, 300, 500, 394};
        f.controller->previewWindowDidMove();
        EXPECT_EQ(f.port.frames.preview.x, c.expectedX) << c.droppedAt;
        EXPECT_EQ(f.port.frames.preview.w, 500);
        EXPECT_EQ(f.controller->isPreviewWindowDocked(), c.docked) << c.droppedAt;
        EXPECT_EQ(f.controller->previewMovesWithMainWindow(), c.docked) << c.droppedAt;
    }
}

TEST(WindowLayoutFlow, BottomPlacementLiftsTheMainWindowFirstWhenRoomIsShort) {
    LayoutFixture f;
    f.port.frames.main = {100, 80, 600, 400}; // 80 points of room below
    f.controller->movePreviewWindowBottomEdge();
    EXPECT_EQ(f.mode(), 1);
    ASSERT_EQ(f.port.applied.size(), 2u);
    EXPECT_EQ(f.port.applied[0].first.main.y, 300);
    EXPECT_EQ(f.port.applied[0].second, MainController::kJointResizeDuration);
    EXPECT_EQ(f.port.frames.preview, (Frame{100, 0, 600, 300}));
    EXPECT_TRUE(f.controller->isPreviewWindowDocked());
    EXPECT_FALSE(f.controller->isProgramResizingWindows());
}

TEST(WindowLayoutFlow, ATallerParameterViewTakesHeightFromThePreviewBelow) {
    struct Case {
        double previewHeight;
        Frame expected;
    };
    for (const Case& c : {Case{300, {100, 100, 600, 260}}, Case{120, {100, 260, 600, 100}}}) {
        LayoutFixture f;
        f.controller->showPreviewInSeparateWindow();
        f.port.frames = {{100, 400, 600, 400}, {100, 400 - c.previewHeight, 600, c.previewHeight}};
        f.controller->setCustomFrame({100, 360, 600, 440}); // 40 points taller, top kept
        ASSERT_EQ(f.port.applied.size(), 1u);
        EXPECT_EQ(f.port.applied[0].second, 100ms);
        EXPECT_EQ(f.port.frames.main, (Frame{100, 360, 600, 440}));
        EXPECT_EQ(f.port.frames.preview, c.expected) << c.previewHeight;
    }
}

TEST(WindowLayoutFlow, TheWindowPositionComesBackAndStaysOnScreen) {
    struct Case {
        Frame saved;
        Frame restored;
    };
    for (const Case& c : {Case{{200, 300, 600, 400}, {200, 300, 600, 400}},
                          Case{{3000, 2000, 600, 400}, {1000, 600, 600, 400}}}) {
        LayoutFixture f;
        f.port.frames.main = c.saved;
        f.controller->saveWindowPosition();
        LayoutFixture next;
        next.defaults.setObject("main window position x",
                                *f.defaults.objectForKey("main window position x"));
        next.defaults.setObject("main window position y",
                                *f.defaults.objectForKey("main window position y"));
        EXPECT_TRUE(next.controller->restoreWindowPosition());
        EXPECT_EQ(next.port.frames.main, c.restored);
    }
}

TEST(WindowLayoutFlow, TheEndFadesOnlyWhenTheSettingAsksForIt) {
    for (const bool fade : {true, false}) {
        LayoutFixture f;
        f.controller->globalSettings().setUseFadeOutEffect(fade);
        f.controller->terminateWithFadeEffect();
        EXPECT_EQ(f.port.fades.size(), fade ? 1u : 0u);
    }
}
