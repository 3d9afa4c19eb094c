#include "gui/QtOneShotTimer.h"

#include <cmath>

namespace morvane::gui {

QtOneShotTimer::QtOneShotTimer() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The action may start the timer again: it runs from a copy.
        auto action = std::move(action_);
        action_ = nullptr;
        if (action)
            action();
    });
}

void QtOneShotTimer::start(double seconds, std::function<void()> action) {
    action_ = std::move(action);
    timer_.start(static_cast<int>(std::lround(seconds * 1000)));
}

void QtOneShotTimer::stop() {
    timer_.stop();
    action_ = nullptr;
}

} // namespace morvane::gui
