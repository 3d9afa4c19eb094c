// The two homes of the preview and the docking of its window: the decisions
// are here, the geometry in WindowLayout, and the windows only report moves
// and apply the frames they are given.
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/MainController.h"

namespace morvane {

int MainController::presentedPreviewMode() {
    return port_.canPlaceWindows() ? globalSettings_->getPreviewModeAsInt() : 0;
}

void MainController::showPreviewInDrawer() {
    if (globalSettings_->getPreviewModeAsInt() != 0)
        globalSettings_->setPreviewModeAsInt(0); // presents the preview again
}

void MainController::showPreviewInSeparateWindow() {
    if (globalSettings_->getPreviewModeAsInt() != 1)
        globalSettings_->setPreviewModeAsInt(1);
}

void MainController::readPreviewPaneWidth() {
    const std::optional<int> width = port_.openPreviewDrawerWidth();
    if (width && *width != globalSettings_->getPreviewPaneWidthAsInt())
        globalSettings_->setPreviewPaneWidthAsInt(*width);
}

// Closing the drawer moves the preview into its window instead of hiding it.
void MainController::previewDrawerDidClose() {
    if (globalSettings_->getPreviewModeAsInt() == 0)
        showPreviewInSeparateWindow();
}

void MainController::previewWindowDidMove() {
    if (programNotUserIsResizingWindows_ || presentedPreviewMode() != 1)
        return;
    WindowFrames frames = port_.windowFrames();
    const Frame snapped = WindowLayout::snapAfterMove(frames.main, frames.preview);
    if (snapped != frames.preview) {
        frames.preview = snapped;
        port_.setWindowFrames(frames, {});
    }
    previewWindowIsDocked_ = WindowLayout::isDocked(frames.main, frames.preview);
}

void MainController::mainWindowDidMove() {
    if (programNotUserIsResizingWindows_ || presentedPreviewMode() != 1)
        return;
    const WindowFrames frames = port_.windowFrames();
    previewWindowIsDocked_ = WindowLayout::isDocked(frames.main, frames.preview);
}

bool MainController::previewMovesWithMainWindow() const {
    return globalSettings_->getPreviewModeAsInt() == 1 && previewWindowIsDocked_ &&
           !programNotUserIsResizingWindows_;
}

void MainController::previewWindowDidResize() {
    if (programNotUserIsResizingWindows_ || presentedPreviewMode() != 1)
        return;
    const WindowFrames frames = port_.windowFrames();
    const WindowFrames next =
        WindowLayout::afterPreviewResize(frames.main, frames.preview, previewWindowIsDocked_);
    if (next != frames) {
        programNotUserIsResizingWindows_ = true; // the frames we set are not the user's
        port_.setWindowFrames(next, {});
        programNotUserIsResizingWindows_ = false;
    }
    previewWindowIsDocked_ = WindowLayout::isDocked(next.main, next.preview);
}

// The placement commands: the preview's proposed frame snapped as after a
// move; the main window goes first, animated, when it has to make room.
void MainController::placePreviewWindow(const WindowFrames& before, WindowFrames after) {
    after.preview = WindowLayout::snapAfterMove(after.main, after.preview);
    programNotUserIsResizingWindows_ = true;
    if (after.main != before.main)
        port_.setWindowFrames({after.main, before.preview}, kJointResizeDuration);
    port_.setWindowFrames(after, {});
    programNotUserIsResizingWindows_ = false;
    previewWindowIsDocked_ = WindowLayout::isDocked(after.main, after.preview);
}

void MainController::movePreviewWindowRightEdge() {
    showPreviewInSeparateWindow();
    const WindowFrames frames = port_.windowFrames();
    placePreviewWindow(frames, {frames.main, WindowLayout::placeAtRightEdge(frames.main)});
}

void MainController::movePreviewWindowBottomEdge() {
    showPreviewInSeparateWindow();
    const WindowFrames frames = port_.windowFrames();
    placePreviewWindow(frames, WindowLayout::placeAtBottomEdge(frames.main, port_.screenFrame()));
}

void MainController::movePreviewWindowTopEdge() {
    showPreviewInSeparateWindow();
    const WindowFrames frames = port_.windowFrames();
    placePreviewWindow(frames, WindowLayout::placeAtTopEdge(frames.main, port_.screenFrame()));
}

void MainController::optimizeWindowFrameForScreen() {
    const Frame screen = port_.screenFrame();
    if (!port_.canPlaceWindows() || !WindowLayout::fitsSideBySide(screen)) {
        showPreviewInDrawer();
        return;
    }
    showPreviewInSeparateWindow();
    const WindowFrames frames = port_.windowFrames();
    const WindowFrames after = WindowLayout::firstLaunchLayout(frames.main, screen);
    programNotUserIsResizingWindows_ = true;
    port_.setWindowFrames(after, {});
    programNotUserIsResizingWindows_ = false;
    previewWindowIsDocked_ = WindowLayout::isDocked(after.main, after.preview);
}

Frame MainController::standardPreviewFrame() {
    const WindowFrames frames = port_.windowFrames();
    return WindowLayout::zoomedPreview(frames.main, frames.preview, port_.screenFrame());
}

void MainController::zoomPreviewWindow() {
    if (presentedPreviewMode() != 1)
        return;
    const WindowFrames frames = port_.windowFrames();
    programNotUserIsResizingWindows_ = true;
    port_.setWindowFrames({frames.main, standardPreviewFrame()}, {});
    programNotUserIsResizingWindows_ = false;
}

void MainController::setCustomFrame(const Frame& main) {
    WindowFrames frames = port_.windowFrames();
    if (presentedPreviewMode() == 1)
        frames.preview =
            WindowLayout::previewFollowingMainResize(frames.main, main, frames.preview);
    frames.main = main;
    programNotUserIsResizingWindows_ = true;
    port_.setWindowFrames(frames, kJointResizeDuration);
    programNotUserIsResizingWindows_ = false;
}

// The top-left corner, so that a window of another height keeps its top.
void MainController::saveWindowPosition() {
    if (!port_.canPlaceWindows())
        return;
    const Frame main = port_.windowFrames().main;
    defaults_.setObject(DefaultsKeys::mainWindowPositionX, plist::Value(int(main.x)));
    defaults_.setObject(DefaultsKeys::mainWindowPositionY, plist::Value(int(main.top())));
    defaults_.synchronize();
}

bool MainController::restoreWindowPosition() {
    const auto x = defaults_.objectForKey(DefaultsKeys::mainWindowPositionX);
    const auto top = defaults_.objectForKey(DefaultsKeys::mainWindowPositionY);
    if (!port_.canPlaceWindows() || !x || !top || !x->numberValue() || !top->numberValue())
        return false;
    WindowFrames frames = port_.windowFrames();
    frames.main.x = static_cast<double>(*x->numberValue());
    frames.main.y = static_cast<double>(*top->numberValue()) - frames.main.h;
    // A screen that has gone since (a monitor unplugged) must not hide the window.
    frames.main = WindowLayout::keptOnScreen(frames.main, port_.screenFrame());
    programNotUserIsResizingWindows_ = true;
    port_.setWindowFrames({frames.main, frames.preview}, {});
    programNotUserIsResizingWindows_ = false;
    return true;
}

} // namespace morvane
