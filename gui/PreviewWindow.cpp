#include "gui/PreviewWindow.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace morvane::gui {

PreviewWindow::PreviewWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName("PreviewWindow");
    setWindowTitle(tr("Preview"));
    setMinimumHeight(100);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QTimer* timer : {&moveRest_, &resizeRest_}) {
        timer->setSingleShot(true);
        timer->setInterval(kRestMs);
    }
    connect(&moveRest_, &QTimer::timeout, this, &PreviewWindow::moved);
    connect(&resizeRest_, &QTimer::timeout, this, &PreviewWindow::resized);
}

void PreviewWindow::takePane(QWidget* pane) {
    layout()->addWidget(pane);
}

void PreviewWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isVisible())
        moveRest_.start();
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        resizeRest_.start();
}

// Closing the window does not lose the preview: it goes back into the main window.
void PreviewWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closedByUser();
}

void PreviewWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        emit maximizeRequested();
}

} // namespace morvane::gui
