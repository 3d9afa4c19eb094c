#pragma once
// A small, strict JSON reader for checking morvane-cli's machine output: the
// whole text must be one value (white space around it allowed). Escapes
// \uDC80 to \uDCFF standing alone are read back as the bytes 0x80 to 0xFF.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace morvane::test {

struct Json {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text; // String: UTF-8
    std::vector<Json> items;
    std::map<std::string, Json> members;

    bool has(const std::string& key) const { return members.count(key) != 0; }
    // The member or item; a null value when there is none.
    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t index) const;
    size_t size() const { return kind == Kind::Array ? items.size() : members.size(); }
};

// The value, or nothing when text is not exactly one JSON value.
std::optional<Json> parseJson(const std::string& text);

} // namespace morvane::test
