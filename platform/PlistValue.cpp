#include "platform/PlistValue.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane::plist {

std::optional<std::int64_t> Value::numberValue() const {
    if (auto i = asInteger())
        return *i;
    if (auto b = asBoolean())
        return *b ? 1 : 0;
    if (auto r = asReal()) {
        if (std::isnan(*r))
            return 0;
        if (*r >= 9.2e18)
            return std::numeric_limits<std::int64_t>::max();
        if (*r <= -9.2e18)
            return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(*r);
    }
    return std::nullopt;
}

std::string Value::describe() const {
    std::ostringstream out;
    switch (kind()) {
    case Kind::String:
        out << '"' << *asString() << '"';
        break;
    case Kind::Integer:
        out << *asInteger();
        break;
    case Kind::Real:
        out << *asReal();
        break;
    case Kind::Boolean:
        out << (*asBoolean() ? "true" : "false");
        break;
    case Kind::Date:
        out << "<date " << asDate()->secondsSinceReferenceDate << ">";
        break;
    case Kind::Data:
        out << "<" << asData()->size() << " bytes>";
        break;
    case Kind::Array: {
        out << "(";
        const char* sep = "";
        for (const auto& v : *asArray()) {
            out << sep << v.describe();
            sep = ", ";
        }
        out << ")";
        break;
    }
    case Kind::Dictionary: {
        out << "{";
        const char* sep = "";
        for (const auto& [k, v] : *asDictionary()) {
            out << sep << '"' << k << "\" = " << v.describe();
            sep = "; ";
        }
        out << "}";
        break;
    }
    }
    return out.str();
}

const Value* find(const Dictionary& dict, const std::string& key) {
    auto it = dict.find(key);
    return it == dict.end() ? nullptr : &it->second;
}

namespace {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using NodePtr = std::unique_ptr<void, NodeDeleter>;

// The library stores whole seconds in 32 bits: a date beyond them (read from
// a damaged file, for one) is written as the nearest one it can hold.
plist_t dateNode(double seconds) {
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    if (std::isnan(seconds))
        seconds = 0;
    const double whole = std::clamp(std::floor(seconds), lowest, highest);
    const double micro = std::clamp((seconds - whole) * 1e6, 0.0, 999999.0);
    return plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>(micro));
}

plist_t toNode(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::String:
        return plist_new_string(value.asString()->c_str());
    case Value::Kind::Integer:
        return plist_new_uint(static_cast<uint64_t>(*value.asInteger()));
    case Value::Kind::Real:
        return plist_new_real(*value.asReal());
    case Value::Kind::Boolean:
        return plist_new_bool(*value.asBoolean() ? 1 : 0);
    case Value::Kind::Date:
        return dateNode(value.asDate()->secondsSinceReferenceDate);
    case Value::Kind::Data: {
        const auto& d = *value.asData();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case Value::Kind::Array: {
        plist_t node = plist_new_array();
        for (const auto& item : *value.asArray())
            plist_array_append_item(node, toNode(item));
        return node;
    }
    case Value::Kind::Dictionary: {
        plist_t node = plist_new_dict();
        for (const auto& [key, item] : *value.asDictionary())
            plist_dict_set_item(node, key.c_str(), toNode(item));
        return node;
    }
    }
    return plist_new_string("");
}

std::optional<Value> fromNode(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        // libplist asserts (aborts the process) when a string's copy would
        // end early at a NUL byte, so the text is read through its pointer.
        // No text we write holds a NUL: such a document is damaged.
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        if (!s)
            return Value(std::string());
        if (std::memchr(s, 0, length))
            return std::nullopt;
        return Value(std::string(s, length));
    }
    case PLIST_KEY: {
        char* s = nullptr;
        plist_get_key_val(node, &s);
        std::string text = s ? s : "";
        std::free(s);
        return Value(std::move(text));
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return Value(static_cast<std::int64_t>(v));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return Value(Date{sec + usec / 1e6});
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        Data data(bytes, bytes + length);
        std::free(bytes);
        return Value(std::move(data));
    }
    case PLIST_ARRAY: {
        Array array;
        uint32_t n = plist_array_get_size(node);
        for (uint32_t i = 0; i < n; ++i) {
            auto item = fromNode(plist_array_get_item(node, i));
            if (!item)
                return std::nullopt;
            array.push_back(std::move(*item));
        }
        return Value(std::move(array));
    }
    case PLIST_DICT: {
        Dictionary dict;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            auto value = fromNode(item);
            std::string k = key ? key : "";
            std::free(key);
            if (!value) {
                std::free(it);
                return std::nullopt;
            }
            dict.insert_or_assign(std::move(k), std::move(*value));
        }
        std::free(it);
        return Value(std::move(dict));
    }
    default:
        return std::nullopt;
    }
}

// libplist aborts the process when it hands out a dictionary key holding a
// NUL byte, which a binary document can carry (a UTF-16 key with a zero unit).
// Its XML form shows every such byte, so a document whose XML form holds one is
// damaged, like a text with a NUL.
bool holdsNulByte(plist_t node) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    const bool holds = xml && std::memchr(xml, 0, length);
    std::free(xml);
    return holds;
}

} // namespace

std::string toXml(const Value& value) {
    NodePtr node(toNode(value));
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(node.get()), &xml, &length);
    std::string out(xml ? xml : "", length);
    std::free(xml);
    return out;
}

std::optional<Value> fromXml(const std::string& xml) {
    if (xml.empty() || xml.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    plist_t raw = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &raw);
    if (!raw)
        return std::nullopt;
    NodePtr node(raw);
    return fromNode(raw);
}

std::optional<Value> fromBytes(const std::string& bytes) {
    if (bytes.size() >= 8 && bytes.compare(0, 8, "bplist00") == 0) {
        plist_t raw = nullptr;
        plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &raw);
        if (!raw)
            return std::nullopt;
        NodePtr node(raw);
        if (holdsNulByte(raw))
            return std::nullopt;
        return fromNode(raw);
    }
    return fromXml(bytes);
}

std::optional<Value> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return fromBytes(buffer.str());
}

bool writeFileAtomically(const std::string& path, const Value& value) {
    const std::string xml = toXml(value);
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = true;
    size_t written = 0;
    while (ok && written < xml.size()) {
        ssize_t n = ::write(fd, xml.data() + written, xml.size() - written);
        if (n < 0)
            ok = false;
        else
            written += static_cast<size_t>(n);
    }
    ok = ok && fchmod(fd, 0644) == 0 && fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

} // namespace morvane::plist
