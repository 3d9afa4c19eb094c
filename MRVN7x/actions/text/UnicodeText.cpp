#include "MRVN7x/actions/text/UnicodeText.h"

#include "platform/SystemLog.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <memory>

namespace morvane {
namespace {

std::u16string toStd(const icu::UnicodeString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()),
                          static_cast<std::size_t>(s.length()));
}

// A read-only ICU view of UTF-16 units (no copy).
icu::UnicodeString view(const char16_t* units, std::size_t length) {
    return icu::UnicodeString(false, units, static_cast<int32_t>(length));
}

const icu::Normalizer2* nfd() {
    static const icu::Normalizer2* instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* n = icu::Normalizer2::getNFDInstance(status);
        if (U_FAILURE(status)) {
            SystemLog::error(std::string("Internal error: no Unicode normalisation data (") +
                             u_errorName(status) + ")");
            return static_cast<const icu::Normalizer2*>(nullptr);
        }
        return n;
    }();
    return instance;
}

// A text in the form in which it is compared, with the way back to the
// original: original[i] is the original unit index where comparable position
// i starts a segment, or -1 inside a segment; original[text.size()] is the
// original length. Plain ASCII needs no map: each unit is its own segment.
struct ComparableText {
    std::u16string text;
    std::vector<std::int64_t> original; // empty for plain ASCII

    bool isBoundary(std::size_t i) const { return original.empty() || original[i] >= 0; }
    std::size_t originalIndex(std::size_t i) const {
        return original.empty() ? i : static_cast<std::size_t>(original[i]);
    }
};

std::u16string comparableSegment(const char16_t* units, std::size_t length, bool fold) {
    // Most names are plain ASCII: a lone ASCII character is its own canonical form.
    if (length == 1 && units[0] < 0x80) {
        char16_t c = units[0];
        if (fold && c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        return std::u16string(1, c);
    }
    const icu::Normalizer2* n = nfd();
    icu::UnicodeString segment(units, static_cast<int32_t>(length));
    if (!n) {
        if (fold)
            segment.foldCase(U_FOLD_CASE_DEFAULT);
        return toStd(segment);
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString result = n->normalize(segment, status);
    if (fold) {
        result.foldCase(U_FOLD_CASE_DEFAULT);
        result = n->normalize(result, status);
    }
    if (U_FAILURE(status))
        return std::u16string(units, length);
    return toStd(result);
}

bool isAscii(const char16_t* units, std::size_t length) {
    return std::all_of(units, units + length, [](char16_t c) { return c < 0x80; });
}

// Plain ASCII in the root locale's case: what ICU's mappings give for it.
std::u16string asciiWithCase(std::u16string text, bool upper) {
    const char16_t from = upper ? u'a' : u'A';
    for (char16_t& c : text)
        if (c >= from && c <= from + 25)
            c = static_cast<char16_t>(upper ? c - 32 : c + 32);
    return text;
}

ComparableText comparableForm(const char16_t* units, std::size_t length, bool fold) {
    ComparableText out;
    // Most names are plain ASCII: their own canonical form, one segment per unit.
    if (isAscii(units, length)) {
        out.text.assign(units, length);
        if (fold)
            out.text = asciiWithCase(std::move(out.text), false);
        return out;
    }
    out.text.reserve(length);
    out.original.reserve(length + 1);
    const icu::Normalizer2* n = nfd();
    std::size_t i = 0;
    while (i < length) {
        const std::size_t start = i;
        UChar32 c;
        U16_NEXT(units, i, length, c);
        // The segment runs on to the next character that starts a new one.
        while (i < length) {
            std::size_t next = i;
            U16_NEXT(units, next, length, c);
            if (!n || n->hasBoundaryBefore(c))
                break;
            i = next;
        }
        std::u16string segment = comparableSegment(units + start, i - start, fold);
        if (segment.empty()) // no mapping empties a character; kept whole just in case
            segment.assign(units + start, i - start);
        out.original.push_back(static_cast<std::int64_t>(start));
        out.original.insert(out.original.end(), segment.size() - 1, -1);
        out.text += segment;
    }
    out.original.push_back(static_cast<std::int64_t>(length));
    return out;
}

ComparableText comparableForm(const std::u16string& text, bool fold) {
    return comparableForm(text.data(), text.size(), fold);
}

// The match as a range of the original text, when it lies on segment boundaries.
std::optional<TextRange> acceptedMatch(const ComparableText& haystack, std::size_t at,
                                       std::size_t length) {
    if (!haystack.isBoundary(at) || !haystack.isBoundary(at + length))
        return std::nullopt;
    const std::size_t start = haystack.originalIndex(at);
    const std::size_t end = haystack.originalIndex(at + length);
    return TextRange{start, end - start};
}

std::optional<TextRange> searchComparable(const ComparableText& haystack,
                                          const std::u16string& needle, SearchOptions options) {
    const std::u16string& h = haystack.text;
    const std::size_t m = needle.size();
    if (m == 0 || m > h.size())
        return std::nullopt;
    const bool backwards = options & kBackwardsSearch;
    if (options & kAnchoredSearch) {
        const std::size_t at = backwards ? h.size() - m : 0;
        if (h.compare(at, m, needle) != 0)
            return std::nullopt;
        return acceptedMatch(haystack, at, m);
    }
    if (!backwards) {
        for (std::size_t p = h.find(needle); p != std::u16string::npos; p = h.find(needle, p + 1))
            if (auto match = acceptedMatch(haystack, p, m))
                return match;
        return std::nullopt;
    }
    std::size_t p = h.rfind(needle);
    while (p != std::u16string::npos) {
        if (auto match = acceptedMatch(haystack, p, m))
            return match;
        if (p == 0)
            break;
        p = h.rfind(needle, p - 1);
    }
    return std::nullopt;
}

icu::BreakIterator* characterBreaks() {
    // Each thread keeps its own iterator: creating one is slow, sharing one is unsafe.
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> it(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) {
            SystemLog::error(std::string("Internal error: no character break rules (") +
                             u_errorName(status) + ")");
            it.reset();
        }
        return it;
    }();
    return iterator.get();
}

} // namespace

std::u16string UnicodeText::uppercase(const std::u16string& text) {
    if (isAscii(text.data(), text.size()))
        return asciiWithCase(text, true);
    icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
    return toStd(s.toUpper(icu::Locale::getRoot()));
}

std::u16string UnicodeText::lowercase(const std::u16string& text) {
    if (isAscii(text.data(), text.size()))
        return asciiWithCase(text, false);
    icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
    return toStd(s.toLower(icu::Locale::getRoot()));
}

std::u16string UnicodeText::uppercase(char32_t c) {
    icu::UnicodeString s(static_cast<UChar32>(c));
    return toStd(s.toUpper(icu::Locale::getRoot()));
}

std::u16string UnicodeText::lowercase(char32_t c) {
    icu::UnicodeString s(static_cast<UChar32>(c));
    return toStd(s.toLower(icu::Locale::getRoot()));
}

bool UnicodeText::equals(const std::u16string& a, const std::u16string& b, SearchOptions options) {
    if (a == b)
        return true;
    const bool fold = options & kCaseInsensitiveSearch;
    return comparableForm(a, fold).text == comparableForm(b, fold).text;
}

std::optional<TextRange> UnicodeText::find(const std::u16string& haystack,
                                           const std::u16string& needle, SearchOptions options,
                                           TextRange within) {
    if (needle.empty())
        return std::nullopt;
    const std::size_t start = std::min(within.location, haystack.size());
    const std::size_t end = start + std::min(within.length, haystack.size() - start);
    const bool fold = options & kCaseInsensitiveSearch;
    const ComparableText h = comparableForm(haystack.data() + start, end - start, fold);
    const std::u16string n = comparableForm(needle, fold).text;
    auto match = searchComparable(h, n, options);
    if (match)
        match->location += start;
    return match;
}

std::optional<TextRange> UnicodeText::find(const std::u16string& haystack,
                                           const std::u16string& needle, SearchOptions options) {
    return find(haystack, needle, options, TextRange{0, haystack.size()});
}

std::vector<TextRange> UnicodeText::findAll(const std::u16string& haystack,
                                            const std::u16string& needle, SearchOptions options) {
    std::vector<TextRange> matches;
    if (needle.empty())
        return matches;
    const bool fold = options & kCaseInsensitiveSearch;
    // A suffix that starts on a segment boundary is segmented as in the whole
    // text, so one comparable form serves every step of the search.
    const ComparableText h = comparableForm(haystack, fold);
    const std::u16string n = comparableForm(needle, fold).text;
    const std::size_t m = n.size();
    std::size_t p = h.text.find(n);
    while (p != std::u16string::npos) {
        if (auto match = acceptedMatch(h, p, m)) {
            matches.push_back(*match);
            p = h.text.find(n, p + m);
        } else {
            p = h.text.find(n, p + 1);
        }
    }
    return matches;
}

std::vector<TextRange> UnicodeText::composedCharacterSequences(const std::u16string& text) {
    std::vector<TextRange> sequences;
    if (text.empty())
        return sequences;
    icu::BreakIterator* breaks = characterBreaks();
    if (!breaks) {
        // Without break rules, at least never split a surrogate pair.
        for (std::size_t i = 0; i < text.size();) {
            std::size_t length = 0;
            codePointAt(text, i, &length);
            sequences.push_back({i, length});
            i += length;
        }
        return sequences;
    }
    const icu::UnicodeString units = view(text.data(), text.size());
    breaks->setText(units); // keeps a reference to units, which outlives the loop
    int32_t start = breaks->first();
    for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE;
         start = end, end = breaks->next())
        sequences.push_back(
            {static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)});
    breaks->setText(icu::UnicodeString());
    return sequences;
}

bool UnicodeText::isWhitespaceOrNewline(char32_t c) {
    if (c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85)
        return true;
    const auto type = u_charType(static_cast<UChar32>(c));
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

bool UnicodeText::isPunctuation(char32_t c) {
    return u_ispunct(static_cast<UChar32>(c));
}

bool UnicodeText::isLowercaseLetter(char32_t c) {
    return u_charType(static_cast<UChar32>(c)) == U_LOWERCASE_LETTER;
}

bool UnicodeText::isUppercaseLetter(char32_t c) {
    const auto type = u_charType(static_cast<UChar32>(c));
    return type == U_UPPERCASE_LETTER || type == U_TITLECASE_LETTER;
}

char32_t UnicodeText::codePointAt(const std::u16string& text, std::size_t index,
                                  std::size_t* length) {
    if (index >= text.size()) {
        if (length)
            *length = 0;
        return 0;
    }
    std::size_t i = index;
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    if (length)
        *length = i - index;
    return static_cast<char32_t>(c);
}

bool UnicodeText::isCodePointBoundary(const std::u16string& text, std::size_t index) {
    if (index == 0 || index >= text.size())
        return true;
    return !(U16_IS_LEAD(text[index - 1]) && U16_IS_TRAIL(text[index]));
}

std::size_t UnicodeText::codePointBoundaryAtOrBefore(const std::u16string& text,
                                                     std::size_t index) {
    index = std::min(index, text.size());
    return isCodePointBoundary(text, index) ? index : index - 1;
}

std::size_t UnicodeText::codePointBoundaryAtOrAfter(const std::u16string& text, std::size_t index) {
    index = std::min(index, text.size());
    return isCodePointBoundary(text, index) ? index : index + 1;
}

} // namespace morvane
