#pragma once
// The quoting rules of desktop entries (.desktop files), for the files we
// write that start one of our programs.
#include <string>

namespace morvane::DesktopEntry {

// One argument of an Exec line: in double quotes, with '"', '`', '$' and '\'
// escaped by a backslash and '%' doubled (it starts field codes).
std::string execArgument(const std::string& argument);

// A value as the key file holds it: backslash, newline, tab and return escaped.
std::string escapedValue(const std::string& value);

} // namespace morvane::DesktopEntry
