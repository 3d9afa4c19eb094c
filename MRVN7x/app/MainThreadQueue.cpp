#include "MRVN7x/app/MainThreadQueue.h"

#include <future>

namespace morvane {

void MainThreadQueue::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
    }
    changed_.notify_all();
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

} // namespace morvane
