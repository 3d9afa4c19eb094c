#pragma once
// Diagnostics: the system log (syslog), and standard error when it is a terminal.
#include <functional>
#include <string>

namespace morvane::SystemLog {

enum class Level { Error, Warning, Notice, Debug };

// Sets the ident under which this program logs ("morvane", "tsy-hotkey", ...).
void setIdent(const std::string& ident);
void write(Level level, const std::string& message);
inline void error(const std::string& message) {
    write(Level::Error, message);
}
inline void warning(const std::string& message) {
    write(Level::Warning, message);
}
inline void notice(const std::string& message) {
    write(Level::Notice, message);
}

// Tests capture log lines with a sink; an empty function restores the system log.
using Sink = std::function<void(Level, const std::string&)>;
void setSink(Sink sink);

} // namespace morvane::SystemLog
