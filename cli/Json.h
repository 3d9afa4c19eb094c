#pragma once
// Just enough JSON for morvane-cli's machine output.
#include "platform/PlistValue.h"

#include <string>

namespace morvane::cli {

// A JSON string literal. Bytes that are not UTF-8 are written as \u00XX
// escapes of the byte, so the output stays valid JSON.
std::string jsonString(const std::string& utf8);
std::string jsonString(const std::u16string& text);
// A property-list value as JSON (dates as seconds, data as a byte count).
std::string jsonValue(const plist::Value& value);

} // namespace morvane::cli
