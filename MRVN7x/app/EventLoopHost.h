#pragma once
// The main thread's own event loop, for a front end that has one (the
// windows). While the application's logic keeps the main thread (a run's
// worker computing, thousands of renames), it lends the thread to the host
// now and then, so the windows go on repainting. A front end without an event
// loop has no host, and the logic simply waits.
#include <chrono>

namespace morvane {

class EventLoopHost {
public:
    virtual ~EventLoopHost() = default;
    // On the main thread: handles the front end's events until wake() is
    // called or timeout has passed.
    virtual void waitForEvents(std::chrono::milliseconds timeout) = 0;
    // From any thread: ends the current or next waitForEvents() early.
    virtual void wake() = 0;
    // On the main thread: handles the events already waiting, without blocking.
    virtual void processPendingEvents() = 0;
};

} // namespace morvane
