#pragma once
// Just enough JSON for morvane-cli's machine output.
#include "platform/PlistValue.h"

#include <string>

namespace morvane::cli {

// A JSON string literal. A byte that is not part of UTF-8 is written as the
// escape \uDCXX (the lone surrogate U+DC00+byte, as PathText holds it), so a
// name that is not UTF-8 cannot be mistaken for one that is, and a reader that
// maps such surrogates back to bytes (Python's "surrogateescape") gets the
// path back exactly.
std::string jsonString(const std::string& utf8);
std::string jsonString(const std::u16string& text);
// A property-list value as JSON (dates as seconds, data as a byte count).
std::string jsonValue(const plist::Value& value);

} // namespace morvane::cli
