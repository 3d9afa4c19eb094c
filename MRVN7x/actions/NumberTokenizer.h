#pragma once
// The runs of ASCII digits of a text, in left-to-right order. Only 0 to 9
// count: other digit characters, signs, decimal points and separators end a
// run, so '1.5' holds two runs and '-3' the run '3'.
//
// Every run is kept, however many there are (a text of 511 units or more can
// hold over 255), so counting from the right always starts at the true last
// run.
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

class NumberTokenizer {
public:
    struct Range {
        std::uint32_t location;
        std::uint32_t length;
        bool operator==(const Range&) const = default;
    };
    static constexpr std::uint32_t kNotFound = 0xFFFFFFFF;

    explicit NumberTokenizer(std::u16string string);

    // Run index (from 0) counted from the left; {kNotFound, 0} outside 0 .. count - 1.
    Range getNumberTokenRangeFromLeft(std::int64_t index) const;
    // Run index counted from the right: 0 is the last run.
    Range getNumberTokenRangeFromRight(std::int64_t index) const;
    std::int32_t numberOfBlocks() const { return static_cast<std::int32_t>(blocks_.size()); }
    const std::u16string& string() const { return string_; }

    static bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

private:
    void tokenize();

    std::u16string string_;
    std::vector<Range> blocks_;
};

} // namespace morvane
