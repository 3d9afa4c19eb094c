#pragma once
// Waiting in window tests: events are handled meanwhile.
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace morvane::test {

// Waits until cond holds or timeoutMs passed.
inline bool waitFor(const std::function<bool()>& cond, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace morvane::test
