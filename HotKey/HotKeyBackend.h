#pragma once
// A key registrar with a connection to watch: the main loop polls its
// descriptor and lets it dispatch what arrived.
#include "HotKey/KeyRegistrar.h"

#include <functional>
#include <poll.h>

namespace tsyhotkey {

class HotKeyBackend : public KeyRegistrar {
public:
    using PressHandler = std::function<void(HotKeyHandle)>;

    virtual const char* name() const = 0;
    // The descriptor and events to wait for, and how long at most (-1: no limit).
    virtual pollfd descriptor() = 0;
    virtual int timeoutMilliseconds() { return -1; }
    // Handles what arrived; presses go to onPress. False when the connection is gone.
    virtual bool dispatch(const PressHandler& onPress) = 0;
    // Releases every key (termination).
    virtual void releaseAll() = 0;
};

} // namespace tsyhotkey
