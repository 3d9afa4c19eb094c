#pragma once
// Work handed from the rename worker thread to the main thread, which waits
// in runUntilStopped() (the modal loop of the progress window) meanwhile.
#include "MRVN7x/app/EventLoopHost.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace morvane {

class MainThreadQueue {
public:
    // With a host, the main thread handles the host's events while it waits.
    explicit MainThreadQueue(EventLoopHost* host = nullptr) : host_(host) {}

    // Queues work for the main thread and returns at once.
    void post(std::function<void()> work);
    // Queues work and returns when the main thread has run it.
    void postAndWait(std::function<void()> work);
    // Runs queued work on the calling thread until stop() is called.
    void runUntilStopped();
    // The same, and calls onTick whenever tick has passed without queued work.
    void runUntilStopped(std::chrono::milliseconds tick, const std::function<void()>& onTick);
    // Ends runUntilStopped() once the work queued before it has run.
    void stop();

private:
    void runWithHost(std::chrono::milliseconds tick, const std::function<void()>& onTick);
    // The next queued work, or nothing; sets stopped_ when stop() came first.
    std::function<void()> take();

    EventLoopHost* host_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool stopped_ = false;
};

} // namespace morvane
