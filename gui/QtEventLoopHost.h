#pragma once
// The Qt event loop as the host of the main thread while the application's
// logic keeps it: the windows repaint and the progress window animates while
// a run's worker computes and while the renames go on.
#include "MRVN7x/app/EventLoopHost.h"

class QAbstractEventDispatcher;

namespace morvane::gui {

class QtEventLoopHost : public EventLoopHost {
public:
    QtEventLoopHost(); // on the main thread
    void waitForEvents(std::chrono::milliseconds timeout) override;
    void wake() override;
    void processPendingEvents() override;

private:
    QAbstractEventDispatcher* dispatcher_;
};

} // namespace morvane::gui
