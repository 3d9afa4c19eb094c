#include "MRVN7x/app/MainThreadQueue.h"

#include <future>

namespace morvane {

void MainThreadQueue::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    changed_.notify_all();
    if (host_)
        host_->wake();
}

void MainThreadQueue::postAndWait(std::function<void()> work) {
    std::promise<void> done;
    auto finished = done.get_future();
    post([&] {
        work();
        done.set_value();
    });
    finished.wait();
}

void MainThreadQueue::stop() {
    post([this] { stopped_ = true; });
}

void MainThreadQueue::runUntilStopped() {
    runUntilStopped(std::chrono::milliseconds::zero(), {});
}

void MainThreadQueue::runUntilStopped(std::chrono::milliseconds tick,
                                      const std::function<void()>& onTick) {
    if (host_) {
        runWithHost(tick, onTick);
        return;
    }
    std::unique_lock lock(mutex_);
    stopped_ = false;
    auto nextTick = std::chrono::steady_clock::now() + tick;
    while (!stopped_) {
        const auto hasWork = [this] { return !queue_.empty(); };
        if (!onTick) {
            changed_.wait(lock, hasWork);
        } else if (!changed_.wait_until(lock, nextTick, hasWork)) {
            lock.unlock();
            onTick();
            lock.lock();
            nextTick = std::chrono::steady_clock::now() + tick;
            continue;
        }
        auto work = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        work();
        lock.lock();
    }
}

std::function<void()> MainThreadQueue::take() {
    std::lock_guard lock(mutex_);
    if (queue_.empty())
        return {};
    auto work = std::move(queue_.front());
    queue_.pop_front();
    return work;
}

// The same loop over the host's event loop: queued work, the tick, and the
// host's own events (repaints) in between.
void MainThreadQueue::runWithHost(std::chrono::milliseconds tick,
                                  const std::function<void()>& onTick) {
    constexpr std::chrono::milliseconds kIdleWait{100};
    {
        std::lock_guard lock(mutex_);
        stopped_ = false;
    }
    auto nextTick = std::chrono::steady_clock::now() + tick;
    for (;;) {
        while (auto work = take()) {
            work();
            std::lock_guard lock(mutex_);
            if (stopped_)
                return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (onTick && now >= nextTick) {
            onTick();
            nextTick = std::chrono::steady_clock::now() + tick;
            continue;
        }
        const auto wait = onTick ? std::chrono::duration_cast<std::chrono::milliseconds>(
                                       nextTick - now + std::chrono::microseconds(999))
                                 : kIdleWait;
        host_->waitForEvents(wait);
    }
}

} // namespace morvane
