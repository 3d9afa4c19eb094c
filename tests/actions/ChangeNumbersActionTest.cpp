// Number rewriting: the digit-run tokenizer and "Change numbers".
#include "MRVN7x/actions/ChangeNumbersAction.h"
#include "MRVN7x/actions/NumberTokenizer.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;
using test::escaped;
using test::renamed;

TEST(NumberTokenizerTest, FindsRunsOfAsciiDigits) {
    using Range = NumberTokenizer::Range;
    struct Case {
        std::u16string text;
        std::vector<Range> runs;
    };
    const Case cases[] = {
        {u"", {}},
        {u"abc", {}},
        {u"42", {{0, 2}}},
        {u"IMG_0042", {{4, 4}}},
        {u"2009-07-15 party 3", {{0, 4}, {5, 2}, {8, 2}, {17, 1}}},
        {u"1.5", {{0, 1}, {2, 1}}},
        {u"-3", {{1, 1}}},
        {u"\uFF11\u0665x9", {{3, 1}}}, // full-width and Arabic-Indic digits do not count
    };
    for (const auto& c : cases) {
        const NumberTokenizer tokenizer(c.text);
        ASSERT_EQ(tokenizer.numberOfBlocks(), static_cast<std::int32_t>(c.runs.size()))
            << escaped(c.text);
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            EXPECT_EQ(tokenizer.getNumberTokenRangeFromLeft(static_cast<std::int64_t>(i)),
                      c.runs[i]);
            EXPECT_EQ(tokenizer.getNumberTokenRangeFromRight(static_cast<std::int64_t>(i)),
                      c.runs[c.runs.size() - 1 - i]);
        }
        const Range none{NumberTokenizer::kNotFound, 0};
        EXPECT_EQ(tokenizer.getNumberTokenRangeFromLeft(-1), none);
        EXPECT_EQ(tokenizer.getNumberTokenRangeFromLeft(tokenizer.numberOfBlocks()), none);
        EXPECT_EQ(tokenizer.getNumberTokenRangeFromRight(-1), none);
        EXPECT_EQ(tokenizer.getNumberTokenRangeFromRight(tokenizer.numberOfBlocks()), none);
        EXPECT_EQ(tokenizer.getNumberTokenRangeFromRight(INT64_MIN), none);
    }
    for (char16_t c = 0; c < 0x80; ++c)
        EXPECT_EQ(NumberTokenizer::isDigit(c), c >= u'0' && c <= u'9');
}

TEST(NumberTokenizerTest, KeepsEveryRunBeyond255) {
    std::u16string text;
    std::size_t start256 = 0;
    for (int i = 0; i < 300; ++i) {
        if (i == 255)
            start256 = text.size() + 1;
        text += std::u16string(u"x") + (i % 2 ? u"1" : u"23");
    }
    const NumberTokenizer tokenizer(text);
    ASSERT_EQ(tokenizer.numberOfBlocks(), 300);
    EXPECT_EQ(tokenizer.getNumberTokenRangeFromRight(0).location, text.size() - 1);
    EXPECT_EQ(tokenizer.getNumberTokenRangeFromLeft(299).location, text.size() - 1);
    EXPECT_EQ(tokenizer.getNumberTokenRangeFromLeft(255).location, start256);
}

Dictionary numbers(int operand, int padding, int operation = 0, int block = 6) {
    return {{"operand", Value(operand)},
            {"padding", Value(padding)},
            {"operation mode", Value(operation)},
            {"block mode", Value(block)}};
}

TEST(ChangeNumbersActionTest, RewritesTheChosenRun) {
    struct Case {
        const char* what;
        Dictionary params;
        const char* name;
        const char* expected;
    };
    const std::string longName = [] {
        std::string s;
        for (int i = 0; i < 300; ++i)
            s += "x" + std::to_string(i);
        return s;
    }();
    const std::string longNameLastChanged = longName.substr(0, longName.size() - 3) + "300";
    const std::string padded255 = "a" + std::string(254, '0') + "7";
    const Case cases[] = {
        {"defaults strip leading zeros", {}, "IMG_0042", "IMG_42"},
        {"defaults keep a plain number", {}, "photo 7", "photo 7"},
        {"add with padding", numbers(1, 4), "IMG_0099", "IMG_0100"},
        {"a wider value is never cut", numbers(1, 4), "IMG_9999", "IMG_10000"},
        {"subtract below zero", numbers(10, 2, 1), "take 5", "take -5"},
        {"the minus sign counts towards the width", numbers(10, 3, 1), "take 5", "take -05"},
        {"any non-zero operation subtracts", numbers(1, 1, 7), "n 5", "n 4"},
        {"block 0 is the first run", numbers(1, 1, 0, 0), "2009-07-15 party 3",
         "2010-07-15 party 3"},
        {"block 1 is the second run", numbers(1, 1, 0, 1), "2009-07-15 party 3",
         "2009-8-15 party 3"},
        {"block 6 is the last run", numbers(1, 1, 0, 6), "2009-07-15 party 3",
         "2009-07-15 party 4"},
        {"block 7 is the second to last", numbers(1, 2, 0, 7), "2009-07-15 party 3",
         "2009-07-16 party 3"},
        {"block 8 is the third to last", numbers(1, 2, 0, 8), "2009-07-15 party 3",
         "2009-08-15 party 3"},
        {"block 4: the fifth of four", numbers(1, 1, 0, 4), "2009-07-15 party 3",
         "2009-07-15 party 3"},
        {"block 10: the fifth to last of four", numbers(1, 1, 0, 10), "2009-07-15 party 3",
         "2009-07-15 party 3"},
        {"no digits", numbers(5, 3), "holiday", "holiday"},
        {"beyond 32 bits reads as the maximum", {}, "big 99999999999", "big 2147483647"},
        {"the maximum plus one does not wrap", numbers(1, 1), "n 2147483647", "n 2147483648"},
        {"only ASCII digits", numbers(1, 1), "\xEF\xBC\x91 9", "\xEF\xBC\x91 10"},
        {"the last of 300 runs", numbers(1, 1), longName.c_str(), longNameLastChanged.c_str()},
        {"padding 0 behaves as 1", numbers(0, 0), "a007", "a7"},
        {"padding 255 is allowed", numbers(0, 255), "a7", padded255.c_str()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(renamed("Change numbers", c.params, c.name), c.expected) << c.what;
}

TEST(ChangeNumbersActionTest, NumbersFromSavedSettingsNeverBreakTheName) {
    struct Case {
        const char* what;
        Dictionary params;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"negative padding", numbers(0, -5), "take 5", "take 5"},
        {"huge padding", numbers(0, 2147483647), "take 5", "take 5"},
        {"padding just too big", numbers(0, 256), "take 5", "take 5"},
        {"negative block mode", numbers(1, 1, 0, -1), "a 1 2", "a 1 2"},
        {"most negative block mode", numbers(1, 1, 0, INT32_MIN), "a 1 2", "a 1 2"},
        {"huge block mode", numbers(1, 1, 0, INT32_MAX), "a 1 2", "a 1 2"},
        {"most negative operand added", numbers(INT32_MIN, 1), "n 5", "n -2147483643"},
        {"most negative operand subtracted", numbers(INT32_MIN, 1, 1), "n 5", "n 2147483653"},
        {"huge operand from a 64-bit setting is clamped",
         {{"operand", Value(std::int64_t(1) << 40)}},
         "n 0",
         "n 2147483647"},
        {"a text operand reads its digits", {{"operand", Value("12abc")}}, "n 0", "n 12"},
        {"a text padding without digits reads 0", {{"padding", Value("wide")}}, "n 007", "n 7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(renamed("Change numbers", c.params, c.name), c.expected) << c.what;
    EXPECT_EQ(ChangeNumbersAction::formatNumber(INT64_MIN, 1), u"-9223372036854775808");
    EXPECT_EQ(ChangeNumbersAction::formatNumber(0, 3), u"000");
    EXPECT_EQ(ChangeNumbersAction::formatNumber(-1, 1), u"-1");
}

// With operand 0 and padding 1 the action only strips the leading zeros of the
// chosen run: the text around it and its value stay.
TEST(ChangeNumbersProperties, OperandZeroPaddingOneOnlyStripsLeadingZeros) {
    test::NameGenerator names(4242);
    for (int block : {0, 1, 6, 7}) {
        auto action = test::makeNamedAction("Change numbers", numbers(0, 1, 0, block));
        for (int i = 0; i < 1000; ++i) {
            std::u16string name = names.next(30);
            // Give some names zero-led runs of their own.
            if (i % 3 == 0)
                name += u"_000" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
            const std::u16string result = test::renamed(*action, name);
            SCOPED_TRACE(escaped(name) + " -> " + escaped(result));
            const NumberTokenizer before(name);
            const auto run = block <= 5 ? before.getNumberTokenRangeFromLeft(block)
                                        : before.getNumberTokenRangeFromRight(block - 6);
            if (run.location == NumberTokenizer::kNotFound) {
                EXPECT_EQ(result, name);
                continue;
            }
            std::u16string digits = name.substr(run.location, run.length);
            const bool overflows =
                digits.size() > 10 || (digits.size() == 10 && digits > u"2147483647");
            if (overflows)
                continue; // such a run reads as 2147483647, tested above
            std::u16string stripped = digits.substr(0, digits.size() - 1);
            stripped.erase(0, stripped.find_first_not_of(u'0'));
            stripped += digits.back();
            EXPECT_EQ(result, name.substr(0, run.location) + stripped +
                                  name.substr(run.location + run.length));
            // Nothing but zeros went away.
            EXPECT_EQ(NumberTokenizer(result).numberOfBlocks(), before.numberOfBlocks());
        }
    }
}

} // namespace
} // namespace morvane
