#pragma once
// A one-shot timer on the main thread's event loop. The GUI backs it with a
// Qt timer; tests drive it with a fake clock.
#include <functional>

namespace morvane {

class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    // Calls action once, seconds from now, on the main thread.
    virtual void start(double seconds, std::function<void()> action) = 0;
    virtual void stop() = 0;
};

} // namespace morvane
