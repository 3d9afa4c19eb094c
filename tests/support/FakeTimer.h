#pragma once
// A one-shot timer on a fake clock: advance() fires what is due.
#include "MRVN7x/app/OneShotTimer.h"

#include <optional>

namespace morvane::test {

class FakeTimer : public OneShotTimer {
public:
    void start(double seconds, std::function<void()> action) override {
        ++starts;
        dueAt = now + seconds;
        action_ = std::move(action);
    }
    void stop() override { dueAt.reset(); }

    // Moves the clock on, firing the timer if it falls due.
    void advance(double seconds) {
        now += seconds;
        if (dueAt && *dueAt <= now + 1e-9) {
            dueAt.reset();
            auto action = std::move(action_);
            action();
        }
    }

    double now = 0;
    std::optional<double> dueAt;
    int starts = 0;

private:
    std::function<void()> action_;
};

} // namespace morvane::test
