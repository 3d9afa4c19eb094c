// The main window's side of the preview's two homes: the drawer that slides
// out of its right edge and the preview window that docks to it. The
// controller decides where the windows go; this code reports what the user
// did and applies the frames it is given.
#include "MRVN7x/app/MainController.h"
#include "gui/MainWindow.h"
#include "gui/PreviewWindow.h"
#include "gui/WindowGeometry.h"

#include <QActionGroup>
#include <QEventLoop>
#include <QLayout>
#include <QMenu>
#include <QMoveEvent>
#include <QSplitter>
#include <QVariantAnimation>

namespace morvane::gui {

void MainWindow::buildPreviewMenu(QMenu* view) {
    view->addSeparator();
    auto* homes = new QActionGroup(this);
    QAction* inDrawer = view->addAction(tr("Preview in the &Main Window"), this,
                                        [this] { controller_.showPreviewInDrawer(); });
    QAction* inWindow = view->addAction(tr("Preview in a Separate &Window"), this,
                                        [this] { controller_.showPreviewInSeparateWindow(); });
    for (QAction* home : {inDrawer, inWindow}) {
        home->setCheckable(true);
        homes->addAction(home);
    }
    connect(view, &QMenu::aboutToShow, this, [this, inDrawer, inWindow] {
        const int mode = controller_.presentedPreviewMode();
        inDrawer->setChecked(mode == 0);
        inWindow->setChecked(mode == 1);
        for (QAction* action : placementActions_)
            action->setEnabled(WindowGeometry::canPlaceWindows());
        // The edge the preview window is docked to is ticked.
        const WindowFrames frames = windowFrames();
        const bool window = controller_.presentedPreviewMode() == 1;
        placementActions_[0]->setChecked(window &&
                                         WindowLayout::isRightDocked(frames.main, frames.preview));
        placementActions_[1]->setChecked(window &&
                                         WindowLayout::isBottomDocked(frames.main, frames.preview));
        placementActions_[2]->setChecked(window &&
                                         WindowLayout::isTopDocked(frames.main, frames.preview));
    });
    if (!WindowGeometry::canPlaceWindows())
        inWindow->setToolTip(tr("This desktop session does not let programs place windows"));
    QMenu* place = view->addMenu(tr("&Place Preview Window"));
    placementActions_ = {place->addAction(tr("At the &Right Edge"), this,
                                          [this] { controller_.movePreviewWindowRightEdge(); }),
                         place->addAction(tr("At the &Bottom Edge"), this,
                                          [this] { controller_.movePreviewWindowBottomEdge(); }),
                         place->addAction(tr("At the &Top Edge"), this,
                                          [this] { controller_.movePreviewWindowTopEdge(); }),
                         place->addAction(tr("&Enlarge Along the Docked Side"), this,
                                          [this] { controller_.zoomPreviewWindow(); })};
    for (int edge = 0; edge < 3; ++edge)
        placementActions_[edge]->setCheckable(true);
    placementActions_.append(place->menuAction());
}

PreviewWindow& MainWindow::ensurePreviewWindow() {
    if (!previewWindow_) {
        previewWindow_ = new PreviewWindow(this);
        previewWindow_->setWindowIcon(windowIcon());
        previewWindow_->resize(500, std::max(height() - 6, 200));
        connect(previewWindow_, &PreviewWindow::moved, this, &MainWindow::previewWindowMoved);
        connect(previewWindow_, &PreviewWindow::resized, this, &MainWindow::previewWindowResized);
        connect(previewWindow_, &PreviewWindow::closedByUser, this,
                [this] { controller_.showPreviewInDrawer(); });
        // Docked, maximising fills the free part of the screen on the docked side.
        connect(previewWindow_, &PreviewWindow::maximizeRequested, this, [this] {
            if (!controller_.isPreviewWindowDocked())
                return;
            previewWindow_->setWindowState(previewWindow_->windowState() & ~Qt::WindowMaximized);
            controller_.zoomPreviewWindow();
        });
    }
    return *previewWindow_;
}

// Moves the preview pane into the home the controller named.
void MainWindow::placePreview(int previewMode) {
    if (previewMode == presentedMode_)
        return;
    presentedMode_ = previewMode;
    if (previewMode == 0) {
        if (previewWindow_)
            previewWindow_->hide();
        drawer_->layout()->addWidget(previewPane_);
        openDrawer();
        return;
    }
    closeDrawer();
    PreviewWindow& window = ensurePreviewWindow();
    window.takePane(previewPane_);
    if (!previewPlaced_)
        controller_.movePreviewWindowRightEdge();
    window.show();
    rememberPreviewPlacement();
}

void MainWindow::openDrawer() {
    if (!drawer_->isHidden())
        return;
    const int paneWidth = std::max(controller_.globalSettings().getPreviewPaneWidthAsInt(), 300);
    drawerAddedWidth_ = paneWidth + splitter_->handleWidth();
    const int target = width() + drawerAddedWidth_;
    splitter_->setStretchFactor(1, 0);
    drawer_->show();
    if (isVisible()) {
        animateWidth(target);
    } else {
        resize(target, height());
    }
}

void MainWindow::closeDrawer() {
    if (drawer_->isHidden())
        return;
    // Before the window is first laid out, the drawer has only the width it was given.
    const int added = isVisible() ? drawer_->width() + splitter_->handleWidth() : drawerAddedWidth_;
    const int target = width() - added;
    if (isVisible())
        animateWidth(target);
    drawer_->hide();
    splitter_->setStretchFactor(1, 1);
    resize(target, height());
}

// The drawer slides: the window's width changes in small steps, and the
// splitter gives the change to the drawer alone.
void MainWindow::animateWidth(int target) {
    QVariantAnimation slide;
    slide.setStartValue(width());
    slide.setEndValue(target);
    slide.setDuration(120);
    connect(&slide, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { resize(value.toInt(), height()); });
    QEventLoop loop;
    connect(&slide, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    slide.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    resize(target, height());
}

// The window manager confirms each step of a placement later, so for a
// moment the windows report frames they had on the way: not the user's doing.
bool MainWindow::justPlaced() const {
    return placedClock_.isValid() && !placedClock_.hasExpired(kPlacementSettleMs);
}

void MainWindow::rememberPreviewPlacement() {
    if (!previewWindow_)
        return;
    previewOffset_ = previewWindow_->pos() - pos();
    previewSize_ = previewWindow_->size();
}

// A move the window came to rest from is the user's unless it kept the
// preview where the program last put it relative to the main window.
void MainWindow::previewWindowMoved() {
    if (previewWindow_->pos() - pos() == previewOffset_ || justPlaced())
        return;
    controller_.previewWindowDidMove();
    rememberPreviewPlacement();
}

void MainWindow::previewWindowResized() {
    if (previewWindow_->size() == previewSize_ || justPlaced())
        return;
    controller_.previewWindowDidResize();
    rememberPreviewPlacement();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (presentedMode_ != 1 || !previewWindow_ || !previewWindow_->isVisible())
        return;
    if (controller_.previewMovesWithMainWindow())
        previewWindow_->move(pos() + previewOffset_);
    else
        previewOffset_ = previewWindow_->pos() - pos();
    controller_.mainWindowDidMove();
}

// The window grows by delta with its top edge kept, a preview window right
// below following it, where windows can be placed; else it only grows.
void MainWindow::growBy(int delta) {
    if (!isVisible() || !WindowGeometry::canPlaceWindows()) {
        resize(width(), std::max(height() + delta, minimumSizeHint().height()));
        return;
    }
    Frame frame = WindowGeometry::frameOf(this);
    frame.y -= delta;
    frame.h += delta;
    controller_.setCustomFrame(frame);
}

WindowFrames MainWindow::windowFrames() const {
    WindowFrames frames{WindowGeometry::frameOf(this), {}};
    if (previewWindow_)
        frames.preview = WindowGeometry::frameOf(previewWindow_);
    return frames;
}

void MainWindow::setWindowFrames(const WindowFrames& frames, std::chrono::milliseconds duration) {
    WindowGeometry::moveTogether(this, &ensurePreviewWindow(), frames, duration);
    placedClock_.start();
    previewPlaced_ = true;
    rememberPreviewPlacement();
}

std::optional<int> MainWindow::openPreviewDrawerWidth() const {
    if (drawer_->isHidden())
        return std::nullopt;
    return drawer_->width();
}

void MainWindow::fadeOut(std::chrono::milliseconds duration) {
    if (!isVisible())
        return;
    QVariantAnimation fade;
    fade.setStartValue(1.0);
    fade.setEndValue(0.0);
    fade.setDuration(int(duration.count()));
    connect(&fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        setWindowOpacity(value.toDouble());
        if (previewWindow_ && previewWindow_->isVisible())
            previewWindow_->setWindowOpacity(value.toDouble());
    });
    QEventLoop loop;
    connect(&fade, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    fade.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace morvane::gui
