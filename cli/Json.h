#pragma once
// Just enough JSON for morvane-cli's machine output.
#include "platform/PlistValue.h"

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

// A JSON string literal. A byte that is not part of UTF-8 is written as the
// escape \uDCXX (the lone surrogate U+DC00+byte, as PathText holds it), so a
// name that is not UTF-8 cannot be mistaken for one that is, and a reader that
// maps such surrogates back to bytes (Python's "surrogateescape") gets the
// path back exactly.
std::string jsonString(std::string_view utf8);
std::string jsonString(std::u16string_view text);

// Writes JSON text value by value and puts the commas, colons, brackets and
// braces itself. In an object, key() comes before each value. A long output
// is written out a piece at a time with moveTo(), so that it is never held
// whole; the writer keeps its place in the nesting meanwhile.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& text(std::string_view utf8);
    JsonWriter& text(std::u16string_view value);
    JsonWriter& flag(bool value);
    template <std::integral Number> JsonWriter& number(Number value) {
        return raw(std::to_string(value));
    }
    JsonWriter& raw(std::string_view json); // a value that is JSON already
    // A property-list value (dates as seconds, data as a byte count).
    JsonWriter& value(const plist::Value& item);

    // A member of an object: key(name) and its value.
    template <typename Value> JsonWriter& member(std::string_view name, const Value& value) {
        key(name);
        if constexpr (std::same_as<Value, bool>)
            return flag(value);
        else if constexpr (std::integral<Value>)
            return number(value);
        else
            return text(value);
    }

    // The text written since the last moveTo().
    const std::string& written() const { return out_; }
    template <typename Sink> void moveTo(Sink& sink) {
        sink += out_;
        out_.clear();
    }

private:
    void beforeValue();

    std::string out_;
    std::vector<bool> empty_; // per open array or object: nothing in it yet
    bool afterKey_ = false;
};

} // namespace morvane::cli
