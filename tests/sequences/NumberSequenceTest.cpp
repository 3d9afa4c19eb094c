#include "MRVN7x/actions/sequence/AddNumberToEndAction.h"
#include "MRVN7x/actions/sequence/AddNumberToStartAction.h"
#include "MRVN7x/actions/sequence/InsertNumberAfterExistingTextAction.h"
#include "MRVN7x/actions/sequence/InsertNumberAtPositionAction.h"
#include "MRVN7x/actions/sequence/InsertNumberInFrontOfExistingTextAction.h"
#include "MRVN7x/actions/sequence/ProduceNumberedListAction.h"
#include "tests/sequences/SequenceTestSupport.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {

template <class Action> std::unique_ptr<Action> make(const plist::Dictionary& settings = {}) {
    auto action = makeAction<Action>();
    for (const auto& [key, value] : settings)
        action->setValueForKey(key, value);
    return action;
}

// An action with one of its parameter keys removed, to reach its fallback.
template <class Action> class WithoutKey : public Action {
public:
    void remove(const std::string& key) { this->dictionary().erase(key); }
};

} // namespace

TEST(NumberFormat, ZeroFillWithTheSignInFront) {
    struct Case {
        std::int32_t value, padding;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {1, 2, u"01"},
        {100, 2, u"100"},
        {-5, 3, u"-05"},
        {-5, 2, u"-5"},
        {-5, 1, u"-5"},
        {7, 0, u"7"},
        {7, 1, u"7"},
        {0, 3, u"000"},
        {12345, 2, u"12345"},
        {7, -4, u"7"},
        {-123, 6, u"-00123"},
        {INT32_MIN, 2, u"-2147483648"},
        {INT32_MAX, 12, u"002147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SortNumberBasedAction::formatNumber(c.value, c.padding), c.expected)
            << c.value << " padding " << c.padding;
    // A padding beyond any file name's length is held to 255.
    EXPECT_EQ(SortNumberBasedAction::formatNumber(3, 100000).size(), 255u);
}

TEST(NumberFormat, ThirtyTwoBitArithmetic) {
    EXPECT_EQ(SortNumberBasedAction::sequenceValue(3, 5, 10), 20);
    EXPECT_EQ(SortNumberBasedAction::sequenceValue(2, 1, INT32_MAX), INT32_MIN);
    EXPECT_EQ(SortNumberBasedAction::sequenceValue(3, -1, 1), -1);
    EXPECT_EQ(SortNumberBasedAction::sequenceValue(1, 1000, -7), -7);
}

TEST(NumberSequence, DefaultsNumberInDescendingNaturalOrder) {
    NamingFixture f;
    f.useFiles({"file1.txt", "file2.txt", "file10.txt"});
    auto action = make<AddNumberToStartAction>();
    EXPECT_EQ(f.newNames(*action), (NameMap{{"file10.txt", u"01file10.txt"},
                                            {"file2.txt", u"02file2.txt"},
                                            {"file1.txt", u"03file1.txt"}}));
    action->setValueForKey("sortingMode", plist::Value(10));
    EXPECT_EQ(f.newNames(*action), (NameMap{{"file1.txt", u"01file1.txt"},
                                            {"file2.txt", u"02file2.txt"},
                                            {"file10.txt", u"03file10.txt"}}));
}

TEST(NumberSequence, FirstItemBecomesZeroOneNameAndTheHundredthIsNotCut) {
    NamingFixture f;
    std::vector<std::string> files;
    for (int i = 1; i <= 100; ++i)
        files.push_back("name" + std::to_string(i));
    f.useFiles(files);
    auto action = make<AddNumberToStartAction>({{"sortingMode", plist::Value(10)}});
    const auto names = f.newNames(*action);
    EXPECT_EQ(names.at("name1"), u"01name1");
    EXPECT_EQ(names.at("name2"), u"02name2");
    EXPECT_EQ(names.at("name100"), u"100name100");
}

TEST(NumberSequence, ProduceNumberedListDefaults) {
    NamingFixture f;
    f.useFiles({"b.jpg", "a.jpg", "c.jpg"});
    auto action = make<ProduceNumberedListAction>({{"sortingMode", plist::Value(0)}});
    EXPECT_EQ(f.newNames(*action), (NameMap{{"a.jpg", u"Caribbean Holiday 01"},
                                            {"b.jpg", u"Caribbean Holiday 02"},
                                            {"c.jpg", u"Caribbean Holiday 03"}}));
    action->setValueForKey("fragmentSelection", plist::Value(1));
    action->setValueForKey("suffix", plist::Value(" (day)"));
    EXPECT_EQ(f.newName(*action, "c.jpg"), u"Caribbean Holiday 03 (day).jpg");
}

TEST(NumberSequence, StartStepAndNegativeSteps) {
    NamingFixture f;
    f.useFiles({"a", "b", "c", "d"});
    struct Case {
        std::int32_t start, step, padding;
        std::vector<std::u16string> expected; // a, b, c, d
    };
    const std::vector<Case> cases = {
        {10, 5, 2, {u"a10", u"b15", u"c20", u"d25"}},
        {2, -1, 2, {u"a02", u"b01", u"c00", u"d-1"}},
        {1, -3, 3, {u"a001", u"b-02", u"c-05", u"d-08"}},
        {0, 0, 4, {u"a0000", u"b0000", u"c0000", u"d0000"}},
    };
    for (const auto& c : cases) {
        auto action = make<AddNumberToEndAction>({{"sortingMode", plist::Value(0)},
                                                  {"start value", plist::Value(c.start)},
                                                  {"step value", plist::Value(c.step)},
                                                  {"padding", plist::Value(c.padding)}});
        const auto names = f.newNames(*action);
        EXPECT_EQ((std::vector<std::u16string>{names.at("a"), names.at("b"), names.at("c"),
                                               names.at("d")}),
                  c.expected)
            << "start " << c.start << " step " << c.step;
    }
}

TEST(NumberSequence, EachFolderSeparately) {
    NamingFixture f;
    f.useFiles({"one/a", "one/b", "one/c", "two/d", "two/e", "two/f"});
    auto action = make<AddNumberToStartAction>({{"sortingMode", plist::Value(0)},
                                                {"sortEachFolderSeparately", plist::Value(1)},
                                                {"padding", plist::Value(1)}});
    EXPECT_FALSE(action->shouldUseGlobalSorting());
    EXPECT_EQ(f.newNames(*action), (NameMap{{"one/a", u"1a"},
                                            {"one/b", u"2b"},
                                            {"one/c", u"3c"},
                                            {"two/d", u"1d"},
                                            {"two/e", u"2e"},
                                            {"two/f", u"3f"}}));
    action->setValueForKey("sortEachFolderSeparately", plist::Value(0));
    EXPECT_TRUE(action->shouldUseGlobalSorting());
    EXPECT_EQ(f.newNames(*action), (NameMap{{"one/a", u"1a"},
                                            {"one/b", u"2b"},
                                            {"one/c", u"3c"},
                                            {"two/d", u"4d"},
                                            {"two/e", u"5e"},
                                            {"two/f", u"6f"}}));
}

TEST(NumberSequence, SecondSortModeDecidesTies) {
    NamingFixture f;
    // Mode 0 sees two equal names; the size (mode 6 or 7) decides.
    f.dir.write("x/same", "a much longer content");
    f.dir.write("y/same", "short");
    f.addRoot("");
    f.update({1, 0, 1}, false);
    auto action = make<AddNumberToStartAction>({{"sortingMode", plist::Value(0)},
                                                {"sortingMode2", plist::Value(6)},
                                                {"padding", plist::Value(1)}});
    EXPECT_EQ(f.newName(*action, "y/same"), u"1same");
    EXPECT_EQ(f.newName(*action, "x/same"), u"2same");
    action->setValueForKey("sortingMode2", plist::Value(7));
    EXPECT_EQ(f.newName(*action, "x/same"), u"1same");
    EXPECT_EQ(action->getSortingMode(), 0);
    EXPECT_EQ(action->getSortingMode2(), 7);
}

TEST(NumberSequence, WithoutAPlaceTheNameStays) {
    NamingFixture f;
    f.useFiles({"a"});
    auto action = make<AddNumberToStartAction>();
    // No file list in the context, or a path the list does not hold.
    InputContext noList{f.dir / "a", u"a"};
    OutputContext output;
    action->executeWithInputContext(noList, output);
    EXPECT_EQ(output.newName, u"a");
    EXPECT_EQ(f.newName(*action, "not-listed"), u"not-listed");
}

TEST(NumberSequence, FallbacksWhenKeysAreMissing) {
    NamingFixture f;
    f.useFiles({"a", "b"});
    auto action = makeAction<WithoutKey<AddNumberToStartAction>>();
    action->setValueForKey("sortingMode", plist::Value(0));
    action->remove("padding"); // fallback 1: no filling
    EXPECT_EQ(f.newName(*action, "b"), u"2b");
    action->remove("start value"); // fallback 1
    action->remove("step value");  // fallback 1
    EXPECT_EQ(f.newName(*action, "a"), u"1a");
    action->remove("sortingMode"); // fallback 0: names ascending
    EXPECT_EQ(f.newName(*action, "b"), u"2b");
    EXPECT_EQ(action->getSortingMode(), 0);
}

TEST(NumberSequence, InsertAtPosition) {
    NamingFixture f;
    f.useFiles({"abcd"});
    struct Case {
        std::int32_t position, mode;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {2, 0, u"ab01cd"}, {2, 1, u"ab01cd"}, {0, 0, u"01abcd"}, {0, 1, u"abcd01"},
        {4, 0, u"abcd01"}, {4, 1, u"01abcd"}, {5, 0, u"abcd"},   {5, 1, u"abcd"},
        {-1, 0, u"abcd"},  {1, 7, u"abc01d"},
    };
    for (const auto& c : cases) {
        auto action = make<InsertNumberAtPositionAction>(
            {{"position", plist::Value(c.position)}, {"mode", plist::Value(c.mode)}});
        EXPECT_EQ(f.newName(*action, "abcd"), c.expected)
            << "position " << c.position << " mode " << c.mode;
    }
    // A position between the two halves of an emoji leaves the name as it was.
    const std::string emoji = "a\xf0\x9f\x92\x80"
                              "b";
    NamingFixture withEmoji;
    withEmoji.useFiles({emoji});
    auto split = make<InsertNumberAtPositionAction>({{"position", plist::Value(2)}});
    EXPECT_EQ(withEmoji.newName(*split, emoji), u"a\U0001F480b");
    auto whole = make<InsertNumberAtPositionAction>({{"position", plist::Value(3)}});
    EXPECT_EQ(withEmoji.newName(*whole, emoji), u"a\U0001F48001b");
    auto action = make<InsertNumberAtPositionAction>();
    EXPECT_EQ(action->getParamString("prefix"), "");
    EXPECT_EQ(action->getParamString("suffix"), "");
}

TEST(NumberSequence, InsertByTextOnAxbxc) {
    NamingFixture f;
    f.useFiles({"axbxc"});
    struct Case {
        bool after;
        std::int32_t mode;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {false, 0, u"a01xbxc"}, {false, 1, u"axb01xc"}, {false, 6, u"axb01xc"},
        {false, 7, u"a01xbxc"}, {false, 2, u"axbxc"},   {false, 8, u"axbxc"},
        {false, -1, u"axbxc"},  {true, 0, u"ax01bxc"},  {true, 1, u"axbx01c"},
        {true, 6, u"axbx01c"},  {true, 2, u"axbxc"},
    };
    for (const auto& c : cases) {
        const plist::Dictionary settings{{"search term", plist::Value("x")},
                                         {"mode", plist::Value(c.mode)}};
        std::unique_ptr<BaseRenameAction> action;
        if (c.after)
            action = make<InsertNumberAfterExistingTextAction>(settings);
        else
            action = make<InsertNumberInFrontOfExistingTextAction>(settings);
        EXPECT_EQ(f.newName(*action, "axbxc"), c.expected)
            << (c.after ? "after" : "in front") << " mode " << c.mode;
    }
}

TEST(NumberSequence, InsertByTextIgnoresCaseByDefault) {
    NamingFixture f;
    f.useFiles({"aXbxc"});
    auto action =
        make<InsertNumberInFrontOfExistingTextAction>({{"search term", plist::Value("x")}});
    EXPECT_EQ(f.newName(*action, "aXbxc"), u"a01Xbxc");
    action->setValueForKey("ignore case", plist::Value(0));
    EXPECT_EQ(f.newName(*action, "aXbxc"), u"aXb01xc");
    action->setValueForKey("ignore case", plist::Value(2)); // only 1 means on
    EXPECT_EQ(f.newName(*action, "aXbxc"), u"aXb01xc");
    action->setValueForKey("search term", plist::Value(""));
    EXPECT_EQ(f.newName(*action, "aXbxc"), u"aXbxc");
}

TEST(NumberSequence, InsertByTextOnAaaa) {
    NamingFixture f;
    f.useFiles({"aaaa"});
    auto action =
        make<InsertNumberInFrontOfExistingTextAction>({{"search term", plist::Value("aa")}});
    action->prepareParameters();
    const std::vector<std::pair<std::int32_t, std::int64_t>> points = {{0, 0}, {1, 2}, {2, -1},
                                                                       {6, 2}, {7, 0}, {8, -1}};
    for (const auto& [mode, point] : points) {
        action->setValueForKey("mode", plist::Value(mode));
        action->prepareParameters();
        EXPECT_EQ(action->findInsertionPoint(u"aaaa"), point) << "mode " << mode;
    }
    action->setValueForKey("mode", plist::Value(1));
    EXPECT_EQ(f.newName(*action, "aaaa"), u"aa01aa");
    action->setValueForKey("mode", plist::Value(7));
    EXPECT_EQ(f.newName(*action, "aaaa"), u"01aaaa");

    auto after = make<InsertNumberAfterExistingTextAction>(
        {{"search term", plist::Value("aa")}, {"mode", plist::Value(6)}});
    EXPECT_EQ(f.newName(*after, "aaaa"), u"aaaa01");
}

TEST(NumberSequence, InsertAfterTextThatMatchesWithAnotherLength) {
    NamingFixture f;
    f.useFiles({"Straße.txt"});
    // Without regard to case 'STRASSE' finds the six units of 'Straße'.
    auto action = make<InsertNumberAfterExistingTextAction>(
        {{"search term", plist::Value("STRASSE")}, {"fragmentSelection", plist::Value(1)}});
    EXPECT_EQ(f.newName(*action, "Straße.txt"), u"Straße01.txt");
}
