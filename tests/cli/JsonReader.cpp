#include "tests/cli/JsonReader.h"

#include <cstdlib>

namespace morvane::test {

namespace {

const Json nullValue;

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    std::optional<Json> document() {
        Json value;
        if (!parseValue(value))
            return std::nullopt;
        skipSpace();
        if (pos_ != s_.size())
            return std::nullopt;
        return value;
    }

private:
    void skipSpace() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t'))
            ++pos_;
    }
    bool literal(const char* word) {
        const std::string w = word;
        if (s_.compare(pos_, w.size(), w) != 0)
            return false;
        pos_ += w.size();
        return true;
    }

    bool parseValue(Json& value) {
        skipSpace();
        if (pos_ >= s_.size())
            return false;
        const char c = s_[pos_];
        if (c == '{')
            return parseObject(value);
        if (c == '[')
            return parseArray(value);
        if (c == '"') {
            value.kind = Json::Kind::String;
            return parseString(value.text);
        }
        if (literal("true") || literal("false")) {
            value.kind = Json::Kind::Boolean;
            value.boolean = c == 't';
            return true;
        }
        if (literal("null"))
            return true;
        return parseNumber(value);
    }

    bool parseNumber(Json& value) {
        const size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        const size_t digits = pos_;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
        if (pos_ == digits)
            return false;
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_])))
                ++pos_;
        }
        value.kind = Json::Kind::Number;
        value.number = std::strtod(s_.substr(start, pos_ - start).c_str(), nullptr);
        return true;
    }

    bool hex4(unsigned& code) {
        if (pos_ + 4 > s_.size())
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = s_[pos_++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned>(h - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool parseEscape(std::string& out) {
        const char e = s_[pos_++];
        const std::string plain = "\"\\/bfnrt";
        const std::string meaning = "\"\\/\b\f\n\r\t";
        if (auto at = plain.find(e); at != std::string::npos) {
            out += meaning[at];
            return true;
        }
        unsigned code = 0;
        if (e != 'u' || !hex4(code))
            return false;
        if (code >= 0xD800 && code < 0xDC00) { // a pair must follow
            unsigned low = 0;
            if (!literal("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF)
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC80 && code <= 0xDCFF) {
            out += static_cast<char>(code - 0xDC00); // a byte that is not UTF-8
            return true;
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, code);
        return true;
    }

    bool parseString(std::string& out) {
        ++pos_; // the opening quote
        while (pos_ < s_.size()) {
            const char c = s_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\')
                out += c;
            else if (pos_ >= s_.size() || !parseEscape(out))
                return false;
        }
        return false;
    }

    bool parseArray(Json& value) {
        value.kind = Json::Kind::Array;
        ++pos_;
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            Json item;
            if (!parseValue(item))
                return false;
            value.items.push_back(std::move(item));
            skipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            return pos_ < s_.size() && s_[pos_++] == ']';
        }
    }

    bool parseObject(Json& value) {
        value.kind = Json::Kind::Object;
        ++pos_;
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            skipSpace();
            std::string key;
            if (pos_ >= s_.size() || s_[pos_] != '"' || !parseString(key))
                return false;
            skipSpace();
            if (pos_ >= s_.size() || s_[pos_++] != ':')
                return false;
            Json member;
            if (!parseValue(member) || value.members.count(key))
                return false; // a key twice is a fault of the writer
            value.members.emplace(std::move(key), std::move(member));
            skipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            return pos_ < s_.size() && s_[pos_++] == '}';
        }
    }

    const std::string& s_;
    size_t pos_ = 0;
};

} // namespace

const Json& Json::operator[](const std::string& key) const {
    auto found = members.find(key);
    return found == members.end() ? nullValue : found->second;
}

const Json& Json::operator[](size_t index) const {
    return index < items.size() ? items[index] : nullValue;
}

std::optional<Json> parseJson(const std::string& text) {
    return Reader(text).document();
}

} // namespace morvane::test
