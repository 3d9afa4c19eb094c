#include "gui/QtEventLoopHost.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace morvane::gui {

QtEventLoopHost::QtEventLoopHost() : dispatcher_(QAbstractEventDispatcher::instance()) {}

void QtEventLoopHost::waitForEvents(std::chrono::milliseconds timeout) {
    // The timer ends the wait when nothing else does.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeout);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventLoopHost::wake() {
    dispatcher_->wakeUp(); // safe from any thread
}

void QtEventLoopHost::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace morvane::gui
