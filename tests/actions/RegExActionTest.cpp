// "Reg Ex Substitution" over ICU regular expressions.
#include "MRVN7x/actions/RegExAction.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;
using test::escaped;

Dictionary regex(const char* pattern, const char* replacement, int ignoreCase = 1) {
    return {{"search pattern", Value(pattern)},
            {"replacement term", Value(replacement)},
            {"ignore case", Value(ignoreCase)}};
}

struct RegExRun {
    std::string newName;
    std::optional<std::array<std::u16string, 6>> columns;
};

RegExRun apply(BaseRenameAction& action, const std::string& name, bool preview) {
    InputContext input;
    input.inputPath = "/tmp/" + name;
    input.currentName = toU16(name);
    input.preview = preview;
    OutputContext output;
    action.executeWithInputContext(input, output);
    return {toU8(output.newName), output.regex};
}

TEST(RegExActionTest, SubstitutesTheWholePiece) {
    struct Case {
        const char* what;
        Dictionary params;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"swaps two parts", regex("(.*) - (.*)", "\\2 - \\1"), "Artist - Title", "Title - Artist"},
        {"a template without references", regex("a", "same"), "banana", "same"},
        {"a name that does not match stays", regex("x", "same"), "banana", "banana"},
        {"ignoring case", regex("abc", "hit", 1), "ABC", "hit"},
        {"exact case", regex("abc", "hit", 0), "ABC", "ABC"},
        {"a missing ignore case reads as 1",
         {{"search pattern", Value("abc")}, {"replacement term", Value("hit")}},
         "ABC",
         "hit"},
        {"\\0\\0 doubles the match and drops the rest", regex("b.n", "\\0\\0"), "abanana",
         "banban"},
        {"a subexpression holding \\5 is expanded again",
         regex("(.*)-(.*)-(.*)-(.*)-(.*)", "[\\1]"), "\\5-b-c-d-e", "[e]"},
        {"references the expression lacks are empty", regex("(a)", "[\\1\\2\\8]"), "a", "[a]"},
        {"\\9 is no reference", regex("(a)", "\\9\\1"), "a", "\\9a"},
        {"a group that took no part is empty", regex("(x)?(a)", "[\\1|\\2]"), "a", "[|a]"},
        {"the match may lie anywhere", regex("[0-9]+", "n\\0"), "IMG_0042.jpg", "n0042"},
        {".* is valid and matches everything", regex(".*", "<\\0>"), "name", "<name>"},
        {"subexpressions numbered by opening parenthesis", regex("((a)(b))", "\\3\\2\\1"), "ab",
         "baab"},
        {"a pattern that does not compile", regex("(unclosed", "x"), "(unclosed", "(unclosed"},
        {"an empty pattern matches nothing", regex("", "x"), "name", "name"},
        {"ignoring case beyond ASCII", regex("STRASSE", "street"), "Straße", "street"},
        {"emoji stay whole", regex("(.)(.)", "\\2\\1"),
         "\xF0\x9F\x98\x80"
         "a",
         "a\xF0\x9F\x98\x80"},
        {"only the extension",
         {{"search pattern", Value("jpe?g")},
          {"replacement term", Value("jpg")},
          {"fragmentSelection", Value(2)}},
         "a.JPEG",
         "a.jpg"},
    };
    for (const auto& c : cases) {
        auto action = test::makeNamedAction("Reg Ex Substitution", c.params);
        EXPECT_EQ(apply(*action, c.name, false).newName, c.expected) << c.what;
    }
}

TEST(RegExActionTest, PreviewColumnsOnlyWhilePreviewing) {
    auto action = test::makeNamedAction("Reg Ex Substitution", regex("(.*) - (.*)", "\\2"));
    const RegExRun previewed = apply(*action, "Artist - Title", true);
    ASSERT_TRUE(previewed.columns);
    const std::array<std::u16string, 6> expected = {u"Artist", u"Title", u"", u"", u"", u""};
    EXPECT_EQ(*previewed.columns, expected);
    EXPECT_FALSE(apply(*action, "Artist - Title", false).columns);

    const RegExRun unmatched = apply(*action, "no dash", true);
    ASSERT_TRUE(unmatched.columns);
    EXPECT_EQ(*unmatched.columns, (std::array<std::u16string, 6>{}));

    // Seven subexpressions: the seventh has no column.
    action->setValueForKey("search pattern", Value("(a)(b)(c)(d)(e)(f)(g)"));
    const RegExRun seven = apply(*action, "abcdefg", true);
    ASSERT_TRUE(seven.columns);
    EXPECT_EQ((*seven.columns)[5], u"f");

    action->setValueForKey("search pattern", Value("[broken"));
    const RegExRun broken = apply(*action, "Artist - Title", true);
    EXPECT_EQ(broken.newName, "Artist - Title");
    ASSERT_TRUE(broken.columns);
    EXPECT_EQ(*broken.columns, (std::array<std::u16string, 6>{}));
}

TEST(RegExActionTest, SubexpressionListHasAtLeastNineEntries) {
    auto action = makeAction<RegExAction>();
    // Before the parameters are first read the expression is ".*".
    auto list = action->subexpressionsForString(u"abc");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 9u);
    EXPECT_EQ((*list)[0], u"abc");
    action->setParameterList(regex("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", ""));
    action->prepareParameters();
    list = action->subexpressionsForString(u"abcdefghij");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->size(), 11u);
    EXPECT_EQ((*list)[10], u"j");
    EXPECT_EQ(RegExAction::expandTemplate(u"\\1\\10", *list), u"aa0");
}

// The compiled expression is kept between files; results must be those of an
// action that compiles afresh for each file, also when the settings change
// between files.
TEST(RegExActionTest, CachedExpressionGivesTheResultsOfAFreshOne) {
    const Dictionary settings[] = {
        regex("([a-z]+)([0-9]*)", "\\2\\1", 1),
        regex("([a-z]+)([0-9]*)", "\\2\\1", 0),
        regex("(.)\\1", "<\\0>", 1),
        regex("[", "x", 1),
        regex("^(.*)\\.(.*)$", "\\2.\\1", 1),
    };
    auto kept = test::makeNamedAction("Reg Ex Substitution");
    test::NameGenerator names(777);
    for (int i = 0; i < 1500; ++i) {
        const Dictionary& params = settings[i % std::size(settings)];
        const std::u16string name = names.next(20);
        kept->setParameterList(params);
        auto fresh = test::makeNamedAction("Reg Ex Substitution", params);
        EXPECT_EQ(test::renamed(*kept, name), test::renamed(*fresh, name)) << escaped(name);
    }
}

TEST(RegExActionTest, ARunawayPatternGivesUpInsteadOfHanging) {
    auto action = test::makeNamedAction("Reg Ex Substitution", regex("^(a+)+$", "matched"));
    const std::string name = std::string(60, 'a') + "!";
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(apply(*action, name, false).newName, name);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    // A sensible pattern on the same name still matches.
    action->setValueForKey("search pattern", Value("^(a+)!$"));
    EXPECT_EQ(apply(*action, name, false).newName, "matched");
}

} // namespace
} // namespace morvane
