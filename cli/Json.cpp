#include "cli/Json.h"

#include "platform/PathText.h"

#include <algorithm>
#include <cstdio>
#include <unicode/utf8.h>
#include <utility>

namespace morvane::cli {

namespace {
// Bytes written as they are: printable ASCII but the quote and the backslash.
bool isPlain(unsigned char c) {
    return c >= 0x20 && c < 0x80 && c != '"' && c != '\\';
}

void appendEscaped(std::string& out, std::string_view utf8) {
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const int32_t length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        int32_t plain = i;
        while (plain < length && isPlain(s[plain]))
            ++plain;
        out.append(utf8.substr(static_cast<size_t>(i), static_cast<size_t>(plain - i)));
        if (plain == length)
            return;
        const int32_t start = i = plain;
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
            out.append(utf8.substr(static_cast<size_t>(start), static_cast<size_t>(i - start)));
        }
    }
}

void appendString(std::string& out, std::string_view utf8) {
    out += '"';
    appendEscaped(out, utf8);
    out += '"';
}

// Most names are ASCII: their code units are their bytes, no conversion needed.
void appendString(std::string& out, std::u16string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
    if (!ascii)
        return appendString(out, PathText::toUtf8(text).value_or(toU8(text)));
    std::string bytes(text.size(), '\0');
    std::transform(text.begin(), text.end(), bytes.begin(), [](char16_t c) { return char(c); });
    appendString(out, bytes);
}
} // namespace

std::string jsonString(std::string_view utf8) {
    std::string out;
    appendString(out, utf8);
    return out;
}

std::string jsonString(std::u16string_view text) {
    std::string out;
    appendString(out, text);
    return out;
}

namespace {
void writeValue(JsonWriter& json, const plist::Value& value) {
    switch (value.kind()) {
    case plist::Value::Kind::String:
        json.text(*value.asString());
        return;
    case plist::Value::Kind::Integer:
        json.number(*value.asInteger());
        return;
    case plist::Value::Kind::Real:
        json.raw(std::to_string(*value.asReal()));
        return;
    case plist::Value::Kind::Boolean:
        json.flag(*value.asBoolean());
        return;
    case plist::Value::Kind::Date:
        json.raw(std::to_string(value.asDate()->secondsSinceReferenceDate));
        return;
    case plist::Value::Kind::Data:
        json.number(value.asData()->size());
        return;
    case plist::Value::Kind::Array:
        json.beginArray();
        for (const auto& item : *value.asArray())
            writeValue(json, item);
        json.endArray();
        return;
    case plist::Value::Kind::Dictionary:
        json.beginObject();
        for (const auto& [key, item] : *value.asDictionary())
            writeValue(json.key(key), item);
        json.endObject();
        return;
    }
    json.raw("null");
}
} // namespace

JsonWriter& JsonWriter::value(const plist::Value& item) {
    writeValue(*this, item);
    return *this;
}

void JsonWriter::beforeValue() {
    if (std::exchange(afterKey_, false) || empty_.empty())
        return;
    if (!empty_.back())
        out_ += ',';
    empty_.back() = false;
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    out_ += '{';
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    if (!empty_.empty()) // a stray end is the caller's mistake, not a fault in memory
        empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    out_ += '[';
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    if (!empty_.empty()) // a stray end is the caller's mistake, not a fault in memory
        empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    appendString(out_, name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::text(std::string_view utf8) {
    beforeValue();
    appendString(out_, utf8);
    return *this;
}

JsonWriter& JsonWriter::text(std::u16string_view value) {
    beforeValue();
    appendString(out_, value);
    return *this;
}

JsonWriter& JsonWriter::flag(bool value) {
    return raw(value ? "true" : "false");
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    beforeValue();
    out_ += json;
    return *this;
}

} // namespace morvane::cli
