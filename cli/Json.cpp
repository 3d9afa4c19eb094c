#include "cli/Json.h"

#include "platform/PathText.h"

#include <cstdio>
#include <unicode/utf8.h>

namespace morvane::cli {

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const int32_t length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        char escape[8];
        if (c < 0) {
            // The byte as the low surrogate U+DC00+byte, as in PathText.
            std::snprintf(escape, sizeof escape, "\\u%04x", 0xDC00u + s[start]);
            out += escape;
            i = start + 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out.append(utf8, static_cast<size_t>(start), static_cast<size_t>(i - start));
        }
    }
    return out + "\"";
}

std::string jsonString(const std::u16string& text) {
    return jsonString(PathText::toUtf8(text).value_or(toU8(text)));
}

std::string jsonValue(const plist::Value& value) {
    switch (value.kind()) {
    case plist::Value::Kind::String:
        return jsonString(*value.asString());
    case plist::Value::Kind::Integer:
        return std::to_string(*value.asInteger());
    case plist::Value::Kind::Real:
        return std::to_string(*value.asReal());
    case plist::Value::Kind::Boolean:
        return *value.asBoolean() ? "true" : "false";
    case plist::Value::Kind::Date:
        return std::to_string(value.asDate()->secondsSinceReferenceDate);
    case plist::Value::Kind::Data:
        return std::to_string(value.asData()->size());
    case plist::Value::Kind::Array: {
        std::string out = "[";
        for (const auto& item : *value.asArray())
            out += (out.size() > 1 ? "," : "") + jsonValue(item);
        return out + "]";
    }
    case plist::Value::Kind::Dictionary: {
        std::string out = "{";
        for (const auto& [key, item] : *value.asDictionary())
            out += (out.size() > 1 ? "," : "") + jsonString(key) + ":" + jsonValue(item);
        return out + "}";
    }
    }
    return "null";
}

} // namespace morvane::cli
