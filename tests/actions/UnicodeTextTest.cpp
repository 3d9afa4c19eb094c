#include "MRVN7x/actions/text/UnicodeText.h"
#include "MRVN7x/actions/text/OccurrenceFinder.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace morvane {
namespace {

using test::escaped;

TEST(UnicodeTextCase, FullMappingsChangeLengths) {
    struct Case {
        std::u16string text, upper, lower;
    };
    const Case cases[] = {
        {u"straße", u"STRASSE", u"straße"},
        // The root locale lower-cases a dotted capital I to i + combining dot above.
        {u"İstanbul", u"İSTANBUL", u"i\u0307stanbul"},
        {u"ﬁle", u"FILE", u"ﬁle"},
        {u"ΣΟΦΟΣ", u"ΣΟΦΟΣ", u"σοφος"},                   // final sigma in context
        {u"\U00010428x", u"\U00010400X", u"\U00010428x"}, // a letter outside the BMP
        {u"a\xDC80"
         u"b",
         u"A\xDC80"
         u"B",
         u"a\xDC80"
         u"b"}, // an escaped byte stays
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escaped(UnicodeText::uppercase(c.text)), escaped(c.upper)) << escaped(c.text);
        EXPECT_EQ(escaped(UnicodeText::lowercase(c.text)), escaped(c.lower)) << escaped(c.text);
    }
    EXPECT_EQ(UnicodeText::uppercase(U'ß'), u"SS");
    EXPECT_EQ(UnicodeText::lowercase(U'İ'), u"i\u0307");
    EXPECT_EQ(UnicodeText::uppercase(char32_t(0xD83D)), std::u16string(1, 0xD83D));
}

TEST(UnicodeTextCompare, ByCaseFoldingAndCanonicalEquivalence) {
    struct Case {
        std::u16string a, b;
        bool exact, ignoringCase;
    };
    const Case cases[] = {
        {u"abc", u"abc", true, true},
        {u"abc", u"ABC", false, true},
        {u"Straße", u"STRASSE", false, true},
        {u"Straße", u"strasse", false, true},
        {u"\u00E9", u"e\u0301", true, true}, // canonically equivalent
        {u"\u00C9", u"e\u0301", false, true},
        {u"a\u0323\u0301", u"a\u0301\u0323", true, true}, // marks in either order
        {u"e", u"\u00E9", false, false},
        {u"CON", u"con", false, true},
        {u"i", u"İ", false, false}, // İ folds to i + dot, not to i
        {u"", u"", true, true},
        {u"a", u"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnicodeText::equals(c.a, c.b, kExactSearch), c.exact)
            << escaped(c.a) << " vs " << escaped(c.b);
        EXPECT_EQ(UnicodeText::equals(c.a, c.b, kCaseInsensitiveSearch), c.ignoringCase)
            << escaped(c.a) << " vs " << escaped(c.b);
    }
}

TEST(UnicodeTextSearch, ReportsRangesOfTheOriginalText) {
    struct Case {
        const char* what;
        std::u16string haystack, needle;
        SearchOptions options;
        TextRange within;
        std::optional<TextRange> expected;
    };
    const TextRange all{0, 1000};
    const Case cases[] = {
        {"plain", u"abcabc", u"bc", kExactSearch, all, TextRange{1, 2}},
        {"backwards finds the last start", u"abcabc", u"bc", kBackwardsSearch, all,
         TextRange{4, 2}},
        {"backwards in 'aaa' for 'aa' starts at 1", u"aaa", u"aa", kBackwardsSearch, all,
         TextRange{1, 2}},
        {"exact respects case", u"ABC", u"b", kExactSearch, all, std::nullopt},
        {"ignoring case", u"ABC", u"b", kCaseInsensitiveSearch, all, TextRange{1, 1}},
        {"STRASSE finds Straße, 6 units long", u"Die Straße!", u"STRASSE", kCaseInsensitiveSearch,
         all, TextRange{4, 6}},
        {"Straße finds STRASSE, 7 units long", u"STRASSE", u"straße", kCaseInsensitiveSearch, all,
         TextRange{0, 7}},
        {"s never finds half of ß", u"ß", u"s", kCaseInsensitiveSearch, all, std::nullopt},
        {"precomposed finds decomposed", u"cafe\u0301!", u"\u00E9", kExactSearch, all,
         TextRange{3, 2}},
        {"decomposed finds precomposed", u"caf\u00E9!", u"e\u0301", kExactSearch, all,
         TextRange{3, 1}},
        {"a base is not cut from its mark", u"cafe\u0301", u"e", kExactSearch, all, std::nullopt},
        {"i does not find the I of İ", u"İstanbul", u"i", kCaseInsensitiveSearch, all,
         std::nullopt},
        {"an emoji is found whole", u"a\U0001F600b", u"\U0001F600", kExactSearch, all,
         TextRange{1, 2}},
        {"empty needle never matches", u"abc", u"", kCaseInsensitiveSearch, all, std::nullopt},
        {"inside a range", u"abcabc", u"a", kExactSearch, TextRange{1, 5}, TextRange{3, 1}},
        {"the range's end counts", u"abcabc", u"bc", kExactSearch, TextRange{0, 5},
         TextRange{1, 2}},
        {"backwards inside a range", u"abcabc", u"bc", kBackwardsSearch, TextRange{0, 5},
         TextRange{1, 2}},
        {"a range past the end is cut", u"abc", u"c", kExactSearch, TextRange{2, 99},
         TextRange{2, 1}},
        {"a range starting past the end", u"abc", u"c", kExactSearch, TextRange{9, 1},
         std::nullopt},
        {"anchored at the start", u"IMG_0042", u"img", kCaseInsensitiveSearch | kAnchoredSearch,
         all, TextRange{0, 3}},
        {"anchored misses a later match", u"x img", u"img",
         kCaseInsensitiveSearch | kAnchoredSearch, all, std::nullopt},
        {"anchored backwards at the end", u"copy copy", u"copy", kAnchoredSearch | kBackwardsSearch,
         all, TextRange{5, 4}},
        {"anchored backwards misses", u"copy x", u"copy", kAnchoredSearch | kBackwardsSearch, all,
         std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnicodeText::find(c.haystack, c.needle, c.options, c.within), c.expected)
            << c.what;
    }
}

TEST(UnicodeTextSearch, FindAllGoesOnAfterEachMatch) {
    struct Case {
        std::u16string haystack, needle;
        SearchOptions options;
        std::vector<std::size_t> starts;
    };
    const Case cases[] = {
        {u"aaaa", u"aa", kExactSearch, {0, 2}},
        {u"aaa", u"aa", kExactSearch, {0}},
        {u"banana", u"a", kExactSearch, {1, 3, 5}},
        {u"a.JPG.jpg", u"JPG", kExactSearch, {2}},
        {u"a.JPG.jpg", u"JPG", kCaseInsensitiveSearch, {2, 6}},
        {u"ßSSß", u"ss", kCaseInsensitiveSearch, {0, 1, 3}},
        {u"banana", u"", kCaseInsensitiveSearch, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> starts;
        for (const auto& match : UnicodeText::findAll(c.haystack, c.needle, c.options))
            starts.push_back(match.location);
        EXPECT_EQ(starts, c.starts) << escaped(c.haystack) << " / " << escaped(c.needle);
    }
}

// Plain ASCII takes a short way around ICU; with one accented letter after
// it the same text goes through ICU, and both must agree.
TEST(UnicodeTextAscii, ShortWayAgreesWithTheFullMappings) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> unit(0x20, 0x7E);
    for (int run = 0; run < 2000; ++run) {
        std::u16string ascii(static_cast<size_t>(run % 24), u' ');
        for (auto& c : ascii)
            c = static_cast<char16_t>(unit(random));
        const std::u16string accented = ascii + u"\u00E9";
        EXPECT_EQ(UnicodeText::lowercase(ascii) + u"\u00E9", UnicodeText::lowercase(accented))
            << escaped(ascii);
        EXPECT_EQ(UnicodeText::uppercase(ascii) + u"\u00C9", UnicodeText::uppercase(accented))
            << escaped(ascii);
        const std::u16string needle = ascii.substr(ascii.size() / 3, 2);
        for (const SearchOptions options : {SearchOptions(0), kCaseInsensitiveSearch}) {
            const auto plain = UnicodeText::findAll(ascii, needle, options);
            const auto viaIcu = UnicodeText::findAll(accented, needle, options);
            ASSERT_EQ(plain.size(), viaIcu.size()) << escaped(ascii);
            for (size_t i = 0; i < plain.size(); ++i)
                EXPECT_TRUE(plain[i].location == viaIcu[i].location &&
                            plain[i].length == viaIcu[i].length);
        }
    }
}

TEST(UnicodeTextSequences, ComposedCharacterSequencesKeepMarksAndPairs) {
    struct Case {
        std::u16string text;
        std::vector<std::size_t> lengths;
    };
    const Case cases[] = {
        {u"abc", {1, 1, 1}},
        {u"e\u0301x", {2, 1}},
        {u"a\u0323\u0301", {3}},
        {u"\U0001F600!", {2, 1}},
        {u"\r\n", {2}},
        {u"\U0001F1E9\U0001F1EA", {4}}, // a flag: two regional indicators
        {u"\xDC80\xDC81", {1, 1}},      // escaped bytes stay single units
        {u"", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::size_t> lengths;
        std::size_t next = 0;
        for (const auto& sequence : UnicodeText::composedCharacterSequences(c.text)) {
            EXPECT_EQ(sequence.location, next) << escaped(c.text);
            next = sequence.end();
            lengths.push_back(sequence.length);
        }
        EXPECT_EQ(lengths, c.lengths) << escaped(c.text);
    }
}

TEST(UnicodeTextClasses, ProperCaseCharacterClasses) {
    struct Case {
        char32_t c;
        bool space, punctuation, lower, upper;
    };
    const Case cases[] = {
        {U' ', true, false, false, false},    {U'\t', true, false, false, false},
        {U'\n', true, false, false, false},   {U'\r', true, false, false, false},
        {0x0B, true, false, false, false},    {0x85, true, false, false, false},
        {0xA0, true, false, false, false},    {0x2028, true, false, false, false},
        {0x2029, true, false, false, false},  {0x3000, true, false, false, false},
        {U'-', false, true, false, false},    {U'\'', false, true, false, false},
        {U'(', false, true, false, false},    {0x00BF, false, true, false, false},
        {U'+', false, false, false, false},   {U'$', false, false, false, false},
        {U'7', false, false, false, false},   {U'a', false, false, true, false},
        {U'ß', false, false, true, false},    {U'A', false, false, false, true},
        {0x01C5, false, false, false, true}, // title case Dž counts as upper
        {0x10400, false, false, false, true}, {0x10428, false, false, true, false},
        {0x4E2D, false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnicodeText::isWhitespaceOrNewline(c.c), c.space)
            << std::hex << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(UnicodeText::isPunctuation(c.c), c.punctuation)
            << std::hex << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(UnicodeText::isLowercaseLetter(c.c), c.lower)
            << std::hex << static_cast<std::uint32_t>(c.c);
        EXPECT_EQ(UnicodeText::isUppercaseLetter(c.c), c.upper)
            << std::hex << static_cast<std::uint32_t>(c.c);
    }
}

TEST(UnicodeTextCodePoints, BoundariesNeverSplitAPair) {
    const std::u16string text = u"a\U0001F600"
                                u"b\xDC80";
    const bool boundaries[] = {true, true, false, true, true, true};
    for (std::size_t i = 0; i < std::size(boundaries); ++i)
        EXPECT_EQ(UnicodeText::isCodePointBoundary(text, i), boundaries[i]) << i;
    EXPECT_EQ(UnicodeText::codePointBoundaryAtOrBefore(text, 2), 1u);
    EXPECT_EQ(UnicodeText::codePointBoundaryAtOrAfter(text, 2), 3u);
    EXPECT_EQ(UnicodeText::codePointBoundaryAtOrBefore(text, 99), text.size());
    std::size_t length = 0;
    EXPECT_EQ(UnicodeText::codePointAt(text, 1, &length), U'\U0001F600');
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(UnicodeText::codePointAt(text, 4, &length), char32_t(0xDC80));
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(UnicodeText::codePointAt(text, 5, &length), char32_t(0));
    EXPECT_EQ(length, 0u);
}

TEST(OccurrenceFinderTest, NumbersOccurrencesFromEitherEnd) {
    struct Case {
        std::u16string text, term;
        std::int64_t occurrence;
        SearchOptions options;
        std::int64_t start;
    };
    const Case cases[] = {
        {u"a-b-c", u"-", 0, kExactSearch, 1},
        {u"a-b-c", u"-", 1, kExactSearch, 3},
        {u"a-b-c", u"-", 2, kExactSearch, -1},
        {u"a-b-c", u"-", 6, kExactSearch, 3},
        {u"a-b-c", u"-", 7, kExactSearch, 1},
        {u"a-b-c", u"-", 8, kExactSearch, -1},
        // From the end the search goes backwards: the last 'aa' of 'aaa' starts at 1.
        {u"aaa", u"aa", 6, kExactSearch, 1},
        {u"aaa", u"aa", 7, kExactSearch, -1},
        {u"aaa", u"aa", 0, kExactSearch, 0},
        {u"aaaaa", u"aa", 7, kExactSearch, 1},
        {u"xXxXxX", u"x", 5, kCaseInsensitiveSearch, 5},
        {u"xXxXxX", u"x", 11, kCaseInsensitiveSearch, 0},
        {u"xXxXxX", u"x", 5, kExactSearch, -1},
        {u"abc", u"", 0, kExactSearch, -1},
        {u"abc", u"a", -1, kExactSearch, -1},
        {u"abc", u"a", INT32_MAX, kExactSearch, -1},
        {u"abc", u"a", INT64_MAX, kExactSearch, -1},
        {u"", u"a", 6, kExactSearch, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OccurrenceFinder::findStart(c.text, c.term, c.occurrence, c.options), c.start)
            << escaped(c.text) << " / " << escaped(c.term) << " #" << c.occurrence;
    }
    auto match = OccurrenceFinder::find(u"Die Straße", u"STRASSE", 6, kCaseInsensitiveSearch);
    ASSERT_TRUE(match);
    EXPECT_EQ(*match, (TextRange{4, 6}));
}

} // namespace
} // namespace morvane
