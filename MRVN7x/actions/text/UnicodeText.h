#pragma once
// The text services every rename action shares, over ICU: full case mapping,
// comparison and search with or without regard to letter case, composed
// character sequences and the character classes of proper case.
//
// Names are UTF-16 and every position is a UTF-16 unit of the original text.
//
// How searching works. Both texts are cut into normalisation segments (a
// character that starts a segment, with the combining marks that follow it)
// and every segment is brought into one comparable form: its canonical
// decomposition, and for a case-insensitive search its case folding
// decomposed again. A match is accepted only when it starts and ends on
// segment boundaries, and its range is reported in units of the original
// text. So:
//   - canonically equivalent texts match ('é' finds 'e' + U+0301);
//   - 'STRASSE' finds 'Straße' without regard to case (the match is 6 units
//     long, not 7), but 's' does not find half of a 'ß';
//   - no match ever cuts a base character from its marks or a surrogate pair
//     in half.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

// A stretch of a text: its first unit and its number of units.
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;
    std::size_t end() const { return location + length; }
    bool operator==(const TextRange&) const = default;
};

// Search options, combined by bitwise or. The actions keep 1 (without regard
// to case) or 0 (exact) as their search mask.
using SearchOptions = unsigned;
inline constexpr SearchOptions kExactSearch = 0;
inline constexpr SearchOptions kCaseInsensitiveSearch = 1;
// The match nearest the end of the range (the one that starts last).
inline constexpr SearchOptions kBackwardsSearch = 4;
// The match must start at the start of the range (with kBackwardsSearch: end at its end).
inline constexpr SearchOptions kAnchoredSearch = 8;

// The search mask of a stored "ignore case" flag: case-insensitive exactly when it is 1.
inline SearchOptions searchMaskForIgnoreCase(std::int32_t ignoreCase) {
    return ignoreCase == 1 ? kCaseInsensitiveSearch : kExactSearch;
}

class UnicodeText {
public:
    // Full case mappings with the root locale: one character may become several
    // ('ß' upper-cases to "SS", 'İ' lower-cases to "i" + U+0307).
    static std::u16string uppercase(const std::u16string& text);
    static std::u16string lowercase(const std::u16string& text);
    static std::u16string uppercase(char32_t c);
    static std::u16string lowercase(char32_t c);

    // Equality under the search options (case and canonical equivalence as above).
    static bool equals(const std::u16string& a, const std::u16string& b, SearchOptions options);

    // The first match of needle inside haystack[within), as the options say.
    // An empty needle never matches; a range reaching past the text is cut to it.
    static std::optional<TextRange> find(const std::u16string& haystack,
                                         const std::u16string& needle, SearchOptions options,
                                         TextRange within);
    static std::optional<TextRange> find(const std::u16string& haystack,
                                         const std::u16string& needle, SearchOptions options);

    // Every match from left to right without overlap: after a match the search
    // goes on from its end. Only kCaseInsensitiveSearch of the options counts.
    static std::vector<TextRange> findAll(const std::u16string& haystack,
                                          const std::u16string& needle, SearchOptions options);

    // The composed character sequences (user-perceived characters: a base with
    // its marks, a surrogate pair, CR LF, ...) in order; they cover the text.
    static std::vector<TextRange> composedCharacterSequences(const std::u16string& text);

    // The character classes of proper case.
    // White space and line breaks: Zs, Zl, Zp, U+0009, U+000A to U+000D, U+0085.
    static bool isWhitespaceOrNewline(char32_t c);
    // Punctuation: the categories P*.
    static bool isPunctuation(char32_t c);
    static bool isLowercaseLetter(char32_t c); // Ll
    static bool isUppercaseLetter(char32_t c); // Lu, and Lt counted as upper case

    // Code points. A lone surrogate is a code point of its own.
    static char32_t codePointAt(const std::u16string& text, std::size_t index,
                                std::size_t* length = nullptr);
    // False only for an index between the two halves of a surrogate pair.
    static bool isCodePointBoundary(const std::u16string& text, std::size_t index);
    // The nearest code-point boundary at or before index (index is cut to the text first).
    static std::size_t codePointBoundaryAtOrBefore(const std::u16string& text, std::size_t index);
    // The nearest code-point boundary at or after index (index is cut to the text first).
    static std::size_t codePointBoundaryAtOrAfter(const std::u16string& text, std::size_t index);
};

} // namespace morvane
