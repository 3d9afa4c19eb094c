#pragma once
// A one-shot timer on the Qt event loop of the main thread.
#include "MRVN7x/app/OneShotTimer.h"

#include <QTimer>

namespace morvane::gui {

class QtOneShotTimer : public OneShotTimer {
public:
    QtOneShotTimer();
    void start(double seconds, std::function<void()> action) override;
    void stop() override;

private:
    QTimer timer_;
    std::function<void()> action_;
};

} // namespace morvane::gui
