#pragma once
// A property-list value: text, integer, real, boolean, date, data, array or
// dictionary, as stored in preferences domains, droplets and resources.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace morvane::plist {

class Value;
using Array = std::vector<Value>;
using Dictionary = std::map<std::string, Value>;
using Data = std::vector<std::uint8_t>;

// Seconds since 1 January 2001 00:00:00 UTC, the reference date of property lists.
struct Date {
    double secondsSinceReferenceDate = 0;
    bool operator==(const Date&) const = default;
};

class Value {
public:
    enum class Kind { String, Integer, Real, Boolean, Date, Data, Array, Dictionary };

    Value() : v_(std::string()) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(const char* s) : v_(std::string(s)) {}
    Value(std::int64_t i) : v_(i) {}
    Value(int i) : v_(std::int64_t(i)) {}
    Value(double d) : v_(d) {}
    Value(bool b) : v_(b) {}
    Value(plist::Date d) : v_(d) {}
    Value(plist::Data d) : v_(std::move(d)) {}
    Value(plist::Array a) : v_(std::move(a)) {}
    Value(plist::Dictionary d) : v_(std::move(d)) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isString() const { return kind() == Kind::String; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isReal() const { return kind() == Kind::Real; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isNumber() const { return isInteger() || isReal() || isBoolean(); }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }

    // Typed access; nullptr when the value is of another kind.
    const std::string* asString() const { return std::get_if<std::string>(&v_); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&v_); }
    const double* asReal() const { return std::get_if<double>(&v_); }
    const bool* asBoolean() const { return std::get_if<bool>(&v_); }
    const plist::Date* asDate() const { return std::get_if<plist::Date>(&v_); }
    const plist::Data* asData() const { return std::get_if<plist::Data>(&v_); }
    const plist::Array* asArray() const { return std::get_if<plist::Array>(&v_); }
    const plist::Dictionary* asDictionary() const { return std::get_if<plist::Dictionary>(&v_); }
    plist::Array* asArray() { return std::get_if<plist::Array>(&v_); }
    plist::Dictionary* asDictionary() { return std::get_if<plist::Dictionary>(&v_); }

    // A number (integer, real or boolean) as a 64-bit integer, reals truncated towards zero.
    std::optional<std::int64_t> numberValue() const;

    bool operator==(const Value& other) const { return v_ == other.v_; }

    // A short printout for diagnostics.
    std::string describe() const;

private:
    std::variant<std::string, std::int64_t, double, bool, plist::Date, plist::Data, plist::Array,
                 plist::Dictionary>
        v_;
};

// The entry under key, or nullptr.
const Value* find(const Dictionary& dict, const std::string& key);

// XML property-list form. Parsing answers nothing for text that is not a
// well-formed property list.
std::string toXml(const Value& value);
std::optional<Value> fromXml(const std::string& xml);
// Binary or XML input, as libplist recognises it.
std::optional<Value> fromBytes(const std::string& bytes);

std::optional<Value> readFile(const std::string& path);
// Writes atomically: a temporary file in the same folder, flushed, then renamed over path.
bool writeFileAtomically(const std::string& path, const Value& value);

} // namespace morvane::plist
