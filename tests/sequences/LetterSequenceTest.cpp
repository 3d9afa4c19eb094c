#include "MRVN7x/actions/sequence/AddAlphabeticalSequenceToEndAction.h"
#include "MRVN7x/actions/sequence/AddAlphabeticalSequenceToStartAction.h"
#include "MRVN7x/actions/sequence/ProduceAlphabeticalListAction.h"
#include "tests/sequences/SequenceTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace morvane;
using namespace morvane::test;

namespace {

using Alpha = AlphabeticalListBasedAction;

// Files f001 ... fNNN, so that names ascending (mode 0) is their number order.
std::vector<std::string> numberedFiles(int count) {
    std::vector<std::string> files;
    for (int i = 1; i <= count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d", i);
        files.push_back(name);
    }
    return files;
}

std::vector<std::u16string> lettersInOrder(NamingFixture& f, BaseRenameAction& action, int count) {
    std::vector<std::u16string> letters;
    for (const auto& file : numberedFiles(count))
        letters.push_back(f.newName(action, file));
    return letters;
}

} // namespace

TEST(LetterConversion, LettersToNumbers) {
    struct Case {
        std::u16string letters;
        std::int32_t value;
    };
    const std::vector<Case> cases = {
        {u"", 0},
        {u"A", 0},
        {u"B", 1},
        {u"Z", 25},
        {u"BA", 26},
        {u"BB", 27},
        {u"ZZ", 675},
        {u"BAA", 676},
        {u"AAB", 1},
        {u"aab", 1},
        {u"zz", 675},
        {u"1", 0},
        {u"B1", 26},
        {u"[", 25},
        {u"\u00e9", 25},
        {u"a b", 1},
        {u"ZZZZZZ", 308915775},
        {u"ZZZZZZZZZZZZ", INT32_MAX}, // beyond 32 bits: the largest value
    };
    for (const auto& c : cases)
        EXPECT_EQ(Alpha::uAlphaToNum(c.letters), c.value) << toU8(c.letters);
}

TEST(LetterConversion, NumbersToLettersAndBack) {
    struct Case {
        std::int32_t value;
        std::u16string letters;
    };
    const std::vector<Case> cases = {{0, u"A"},     {1, u"B"},   {25, u"Z"},  {26, u"BA"},
                                     {27, u"BB"},   {51, u"BZ"}, {52, u"CA"}, {675, u"ZZ"},
                                     {676, u"BAA"}, {-1, u""}};
    for (const auto& c : cases)
        EXPECT_EQ(Alpha::uNumToAlpha(c.value), c.letters) << c.value;
    for (std::int32_t value : {0, 1, 25, 26, 700, 123456, INT32_MAX})
        EXPECT_EQ(Alpha::uAlphaToNum(Alpha::uNumToAlpha(value)), value);
}

TEST(LetterConversion, TypedStartValuesAreNormalised) {
    struct Case {
        std::u16string typed, stored;
    };
    const std::vector<Case> cases = {
        {u"aab", u"B"},          {u"abcdefgh", u"BCDEF"}, {u"", u"A"},    {u"AAAA", u"A"},
        {u"c3", u"CA"},          {u"\u00e9", u"Z"},       {u"zz", u"ZZ"}, {u"b", u"B"},
        {u"ZZZZZZZ", u"ZZZZZZ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Alpha::normalisedStartValue(c.typed), c.stored) << toU8(c.typed);
}

TEST(LetterConversion, TheKeyInterfaceValidatesStartValue) {
    auto action = makeAction<AddAlphabeticalSequenceToEndAction>();
    auto typed = action->validatedValueForKey("startValue", plist::Value("aab"));
    ASSERT_TRUE(typed) << typed.messageIfFailed();
    action->setValueForKey("startValue", *typed);
    EXPECT_EQ(action->getParamString("startValue"), "B");
    // Other keys pass unchanged, an emptied control too.
    auto prefix = action->validatedValueForKey("prefix", plist::Value("aab"));
    ASSERT_TRUE(prefix) << prefix.messageIfFailed();
    EXPECT_EQ(*prefix, std::optional<plist::Value>(plist::Value("aab")));
    auto emptied = action->validatedValueForKey("startValue", std::nullopt);
    ASSERT_TRUE(emptied) << emptied.messageIfFailed();
    EXPECT_FALSE(emptied->has_value());
}

TEST(LetterSequence, DefaultsRunFromAToZThenBA) {
    NamingFixture f;
    f.useFiles(numberedFiles(28));
    auto action = makeAction<ProduceAlphabeticalListAction>();
    action->setValueForKey("sortingMode", plist::Value(0));
    const auto letters = lettersInOrder(f, *action, 28);
    EXPECT_EQ(letters[0], u"A");
    EXPECT_EQ(letters[1], u"B");
    EXPECT_EQ(letters[25], u"Z");
    EXPECT_EQ(letters[26], u"BA");
    EXPECT_EQ(letters[27], u"BB");

    action->setValueForKey("prefix", plist::Value("Part "));
    action->setValueForKey("suffix", plist::Value("!"));
    EXPECT_EQ(f.newName(*action, "f003"), u"Part C!");
}

TEST(LetterSequence, DefaultSortIsDescending) {
    NamingFixture f;
    f.useFiles(numberedFiles(3));
    auto action = makeAction<AddAlphabeticalSequenceToStartAction>();
    EXPECT_EQ(f.newNames(*action),
              (NameMap{{"f003", u"Af003"}, {"f002", u"Bf002"}, {"f001", u"Cf001"}}));
}

TEST(LetterSequence, PaddingAndStartValue) {
    NamingFixture f;
    f.useFiles(numberedFiles(4));
    auto action = makeAction<AddAlphabeticalSequenceToEndAction>();
    action->setValueForKey("sortingMode", plist::Value(0));
    action->setValueForKey("startValue", plist::Value("Y"));
    action->setValueForKey("padding", plist::Value(2));
    EXPECT_EQ(lettersInOrder(f, *action, 4),
              (std::vector<std::u16string>{u"f001AY", u"f002AZ", u"f003BA", u"f004BB"}));
    action->setValueForKey("startValue", plist::Value("A"));
    action->setValueForKey("padding", plist::Value(3));
    action->setValueForKey("step value", plist::Value(2));
    EXPECT_EQ(lettersInOrder(f, *action, 4),
              (std::vector<std::u16string>{u"f001AAA", u"f002AAC", u"f003AAE", u"f004AAG"}));
}

TEST(LetterSequence, BelowZeroTheNameStays) {
    NamingFixture f;
    f.useFiles(numberedFiles(4));
    auto action = makeAction<AddAlphabeticalSequenceToStartAction>();
    action->setValueForKey("sortingMode", plist::Value(0));
    action->setValueForKey("startValue", plist::Value("C"));
    action->setValueForKey("step value", plist::Value(-1));
    EXPECT_EQ(lettersInOrder(f, *action, 4),
              (std::vector<std::u16string>{u"Cf001", u"Bf002", u"Af003", u"f004"}));
}

TEST(LetterSequence, EachFolderSeparately) {
    NamingFixture f;
    f.useFiles({"one/a", "one/b", "two/c", "two/d"});
    auto action = makeAction<AddAlphabeticalSequenceToStartAction>();
    action->setValueForKey("sortingMode", plist::Value(0));
    action->setValueForKey("sortEachFolderSeparately", plist::Value(1));
    EXPECT_EQ(f.newNames(*action),
              (NameMap{{"one/a", u"Aa"}, {"one/b", u"Bb"}, {"two/c", u"Ac"}, {"two/d", u"Bd"}}));
}

TEST(LetterSequence, Defaults) {
    auto action = makeAction<ProduceAlphabeticalListAction>();
    const auto params = action->parameterList();
    EXPECT_EQ(params.at("startValue"), plist::Value("A"));
    EXPECT_EQ(params.at("step value"), plist::Value(1));
    EXPECT_EQ(params.at("padding"), plist::Value(1));
    EXPECT_EQ(params.at("prefix"), plist::Value(""));
    EXPECT_EQ(params.at("suffix"), plist::Value(""));
    EXPECT_EQ(params.at("sortingMode"), plist::Value(11));
    EXPECT_EQ(params.at("sortingMode2"), plist::Value(0));
    EXPECT_EQ(params.at("sortEachFolderSeparately"), plist::Value(0));
    EXPECT_EQ(params.count("start value"), 0u);
}
