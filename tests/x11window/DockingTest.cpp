// The preview window on a real X server with a window manager that honours
// moves (run under Xvfb and openbox by tests/scripts/x11-window-test.sh):
// dropped near the main window it snaps to it, and while docked it travels
// with the main window; a taller parameter view grows the main window
// downwards and takes the height from a preview below it.
#include "MRVN7x/actions/ActionList.h"
#include "gui/MorvaneApplication.h"
#include "gui/QLFlexView.h"
#include "gui/WindowGeometry.h"
#include "tests/gui/WaitFor.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include <fstream>

using namespace morvane;
using namespace morvane::gui;
namespace {
// A loaded machine may take its time to map and move windows.
bool waitFor(const std::function<bool()>& cond) {
    return morvane::test::waitFor(cond, 45000);
}

// Lets the window manager and the windows' own timers settle.
void settle(int ms = 1000) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void screenshot(const char* name) {
    const QByteArray folder = qgetenv("MORVANE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(QString::fromLocal8Bit(folder));
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(folder) + "/" +
                                                         name + ".png");
}

struct Windows {
    test::TempDir ownSettings{"settings"};
    UserDefaults defaults;
    ActionList registry{defaults};
    MorvaneApplication app{defaults, registry};

    test::TempDir photos{"photos"};

    explicit Windows(const std::string& settings = {})
        : defaults("net.halvard.mrvn7", settings.empty() ? ownSettings.path() : settings) {
        std::vector<std::string> files;
        for (int i = 1; i <= 8; ++i) {
            files.push_back(photos.path() + "/IMG_20" + std::to_string(40 + i) + ".JPG");
            std::ofstream{files.back()};
        }
        app.launch(files);
        MainWindow& main = app.window();
        // Mapped, with the window manager's decorations known.
        auto framed = [](const QWidget* window) {
            return window && window->isVisible() && window->frameGeometry() != window->geometry();
        };
        const bool withPreview = app.controller().presentedPreviewMode() == 1;
        EXPECT_TRUE(waitFor(
            [&] { return framed(&main) && (!withPreview || framed(main.previewWindow())); }));
        settle();
    }
    Frame mainFrame() { return WindowGeometry::frameOf(&app.window()); }
    Frame previewFrame() { return WindowGeometry::frameOf(app.window().previewWindow()); }
    // Moves the preview as a user's drag would end: the window manager moves it.
    void dropPreviewAt(double x, double y) {
        Frame target = previewFrame();
        target.x = x;
        target.y = y;
        WindowGeometry::setFrame(app.window().previewWindow(), target);
    }
};
} // namespace

int main(int argc, char** argv) {
    static test::TempDir home("home");
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.path() + "/.local/share").c_str(), 1);
    setenv("XDG_STATE_HOME", (home.path() + "/.local/state").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST(Docking, FirstLaunchPutsThePreviewBesideTheMainWindow) {
    Windows w;
    ASSERT_TRUE(WindowGeometry::canPlaceWindows());
    EXPECT_EQ(w.app.controller().globalSettings().getPreviewModeAsInt(), 1);
    const Frame main = w.mainFrame(), preview = w.previewFrame();
    // Laid out before the window manager added its borders: within their width.
    EXPECT_NEAR(preview.x, main.right() + 1, 3);
    EXPECT_NEAR(preview.top(), main.top() - 6, 3);
    EXPECT_TRUE(w.app.controller().isPreviewWindowDocked());
    screenshot("preview-window-side-by-side");
}

TEST(Docking, APreviewDroppedNearSnapsAndThenMovesWithTheMainWindow) {
    Windows w;
    const Frame main = w.mainFrame();
    // 31 points away: stays where it was dropped, undocked.
    w.dropPreviewAt(main.right() + 31, main.y - 150);
    EXPECT_TRUE(waitFor([&] { return std::abs(w.previewFrame().x - (main.right() + 31)) <= 1; }));
    settle(); // time for a snap that must not come
    EXPECT_NEAR(w.previewFrame().x, main.right() + 31, 1);
    EXPECT_FALSE(w.app.controller().isPreviewWindowDocked());
    // 29 points away: snaps to one point beyond the right edge.
    w.dropPreviewAt(main.right() + 29, main.y - 150);
    EXPECT_TRUE(waitFor([&] { return std::abs(w.previewFrame().x - (main.right() + 1)) <= 1; }))
        << w.previewFrame().x << " " << main.right();
    EXPECT_TRUE(w.app.controller().isPreviewWindowDocked());
    screenshot("preview-window-snapped");

    // The main window moves; the docked preview keeps its place beside it.
    const Frame before = w.previewFrame();
    Frame moved = main;
    moved.x -= 40;
    moved.y += 30;
    WindowGeometry::setFrame(&w.app.window(), moved);
    EXPECT_TRUE(waitFor([&] {
        return std::abs(w.previewFrame().x - (before.x - 40)) <= 1 &&
               std::abs(w.previewFrame().y - (before.y + 30)) <= 1;
    })) << w.previewFrame().x
        << "," << w.previewFrame().y;
    screenshot("preview-window-moved-along");
}

TEST(Docking, ATallerParameterViewGrowsTheMainWindowDownwards) {
    Windows w;
    w.app.controller().movePreviewWindowBottomEdge();
    settle();
    const Frame main = w.mainFrame(), preview = w.previewFrame();
    ASSERT_NEAR(preview.top(), main.y, 1);
    screenshot("preview-window-below");
    QLFlexView* flex = w.app.window().parameterFlexView();
    auto* taller = new QWidget;
    taller->setMinimumHeight(flex->height() + 40);
    flex->setContainedView(taller);
    settle();
    const Frame grown = w.mainFrame(), below = w.previewFrame();
    EXPECT_NEAR(grown.top(), main.top(), 1);
    EXPECT_NEAR(grown.h, main.h + 40, 1);
    EXPECT_NEAR(below.top(), grown.y, 1);
    EXPECT_NEAR(below.h, std::max(preview.h - 40, 100.0), 1);
}

TEST(Docking, TheWindowComesBackWhereItWasLeftWithoutCreeping) {
    test::TempDir settings("kept");
    Frame left;
    {
        Windows w(settings.path());
        Frame moved = w.mainFrame();
        moved.x = 123;
        moved.y -= 77;
        WindowGeometry::setFrame(&w.app.window(), moved);
        settle();
        left = w.mainFrame();
        w.app.controller().applicationShouldTerminate();
    }
    for (int launch = 0; launch < 2; ++launch) {
        Windows again(settings.path());
        EXPECT_NEAR(again.mainFrame().x, left.x, 1);
        EXPECT_NEAR(again.mainFrame().top(), left.top(), 1);
        again.app.controller().applicationShouldTerminate();
    }
}

TEST(Docking, MaximisingADockedPreviewFillsTheFreeSideOfTheScreen) {
    Windows w;
    w.app.controller().movePreviewWindowBottomEdge();
    settle();
    const Frame zoomed = w.app.controller().standardPreviewFrame();
    w.app.window().previewWindow()->showMaximized();
    EXPECT_TRUE(waitFor([&] {
        const Frame now = w.previewFrame();
        return std::abs(now.y - zoomed.y) <= 1 && std::abs(now.h - zoomed.h) <= 1 &&
               std::abs(now.w - zoomed.w) <= 1;
    })) << w.previewFrame().w
        << "x" << w.previewFrame().h << " expected " << zoomed.w << "x" << zoomed.h;
    EXPECT_FALSE(w.app.window().previewWindow()->isMaximized());
}
