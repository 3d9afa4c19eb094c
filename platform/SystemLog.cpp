#include "platform/SystemLog.h"

#include <cstdio>
#include <mutex>
#include <syslog.h>
#include <unistd.h>

namespace morvane::SystemLog {
namespace {
std::mutex mutex;
std::string currentIdent = "morvane";
Sink currentSink;
bool opened = false;

int priorityFor(Level level) {
    switch (level) {
    case Level::Error:
        return LOG_ERR;
    case Level::Warning:
        return LOG_WARNING;
    case Level::Notice:
        return LOG_NOTICE;
    case Level::Debug:
        return LOG_DEBUG;
    }
    return LOG_NOTICE;
}
} // namespace

void setIdent(const std::string& ident) {
    std::lock_guard lock(mutex);
    currentIdent = ident;
    if (opened)
        closelog();
    opened = false;
}

void write(Level level, const std::string& message) {
    std::lock_guard lock(mutex);
    if (currentSink) {
        currentSink(level, message);
        return;
    }
    if (!opened) {
        // openlog keeps the pointer: currentIdent lives as long as the program.
        openlog(currentIdent.c_str(), LOG_PID, LOG_USER);
        opened = true;
    }
    syslog(priorityFor(level), "%s", message.c_str());
    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "%s: %s\n", currentIdent.c_str(), message.c_str());
}

void setSink(Sink sink) {
    std::lock_guard lock(mutex);
    currentSink = std::move(sink);
}

} // namespace morvane::SystemLog
