// Every action that looks only at the name: registered by name in the right
// class tree, and safe with numbers from damaged settings and with names
// holding surrogate pairs and escaped bytes.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/ConvertToMacOS9Action.h"
#include "MRVN7x/actions/InsertAtEndOfTextAction.h"
#include "MRVN7x/actions/RemoveCharactersAction.h"
#include "MRVN7x/actions/RemoveFromEndAction.h"
#include "MRVN7x/actions/RemoveTextAction.h"
#include "MRVN7x/actions/RemoveTextAtEndAction.h"
#include "MRVN7x/actions/RemoveTextAtFrontAction.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;
using test::escaped;

const char* const nameActions[] = {
    "Add to front",
    "Replace at front",
    "Replace at end",
    "Remove text at front",
    "Remove text at end",
    "Remove at front",
    "Remove from end",
    "Truncate",
    "Remove trailing spaces",
    "Remove vowels",
    "Make uppercase",
    "Make lowercase",
    "Make propercase",
    "Add folder name to front",
    "Add folder name to end",
    "Completely rename",
    "Insert at position",
    "Replace text",
    "Remove text",
    "Insert in front of text",
    "Insert at end of text",
    "Replace characters",
    "Remove characters",
    "Remove anywhere",
    "Convert to NTFS",
    "Truncate to DOS",
    "Convert to Mac OS 9",
    "Change numbers",
    "Reg Ex Substitution",
    "Manually rename",
};

template <class T> bool is(BaseRenameAction& action) {
    return dynamic_cast<T*>(&action) != nullptr;
}

TEST(NameActionsRegistry, EveryActionIsCreatedByNameInItsClassTree) {
    for (const char* name : nameActions) {
        auto made = applicationActionList().newActionForName(name, nullptr);
        ASSERT_TRUE(made) << name << ": " << made.messageIfFailed();
        auto& action = *made;
        EXPECT_EQ(action->actionName(), name);
        EXPECT_NE(applicationActionList().popUpMenuItemStringForName(name), "Error") << name;
    }
    struct Derivation {
        const char* name;
        bool (*check)(BaseRenameAction&);
    };
    const Derivation tree[] = {
        {"Replace at end", is<ReplaceAtFrontAction>},
        {"Remove text at front", is<ReplaceAtFrontAction>},
        {"Remove text at end", is<ReplaceAtEndAction>},
        {"Remove from end", is<RemoveAtFrontAction>},
        {"Convert to Mac OS 9", is<TruncateAction>},
        {"Remove text", is<ReplaceTextAction>},
        {"Insert at end of text", is<InsertInFrontOfTextAction>},
        {"Remove characters", is<ReplaceCharactersAction>},
    };
    for (const auto& d : tree) {
        auto action = test::makeNamedAction(d.name);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(d.check(*action)) << d.name;
    }
}

// Names with an emoji: a count or position that falls between its two halves
// leaves the name unchanged (truncation keeps one unit less instead), so no
// action hands out half a surrogate pair. With an escaped stray byte right
// after the emoji, half a pair would even join the escape into another,
// valid character, which no later check could tell apart.
TEST(NameActionsSurrogates, NoActionSplitsASurrogatePair) {
    struct Case {
        const char* what;
        const char* action;
        Dictionary params;
        std::u16string name;
        std::u16string expected;
    };
    const std::u16string smile = u"\U0001F600";
    const std::u16string strayByte = u"\xDC80";
    const Case cases[] = {
        {"remove at front",
         "Remove at front",
         {{"number of characters", Value(1)}},
         smile + u"abc",
         smile + u"abc"},
        {"remove at front, whole pair",
         "Remove at front",
         {{"number of characters", Value(2)}},
         smile + u"abc",
         u"abc"},
        {"remove from end",
         "Remove from end",
         {{"number of characters", Value(1)}},
         u"abc" + smile,
         u"abc" + smile},
        {"insert at position",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(1)}},
         smile,
         smile},
        {"insert at position from the end",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(1)}, {"mode", Value(1)}},
         smile,
         smile},
        {"remove anywhere",
         "Remove anywhere",
         {{"from position", Value(0)}, {"to position number", Value(1)}},
         smile + u"a",
         smile + u"a"},
        {"remove anywhere before an escaped byte",
         "Remove anywhere",
         {{"from position", Value(1)}, {"to position number", Value(2)}},
         smile + strayByte,
         smile + strayByte},
        {"remove from end before an escaped byte",
         "Remove anywhere",
         {{"from position", Value(2)},
          {"to position number", Value(0)},
          {"to which end of position", Value(1)}},
         u"a" + smile + strayByte,
         u"a" + smile + strayByte},
        {"truncate keeps one unit less",
         "Truncate",
         {{"number of characters", Value(2)}},
         u"a" + smile + u"b",
         u"a"},
        {"smart truncate keeps one unit less",
         "Truncate",
         {{"number of characters", Value(6)}, {"smart", Value(1)}},
         u"a" + smile + u"bcd.txt",
         u"a.txt"},
        {"smart truncate of the tail",
         "Truncate",
         {{"number of characters", Value(3)}, {"smart", Value(1)}},
         u"a." + smile + u"bc",
         u"bc"},
        {"DOS", "Truncate to DOS", {}, u"abcdefg" + smile, u"abcdefg"},
        {"Mac OS 9",
         "Convert to Mac OS 9",
         {},
         std::u16string(30, u'x') + smile,
         std::u16string(30, u'x')},
        {"proper case keeps an emoji", "Make propercase", {}, smile + u"ab", smile + u"ab"},
        {"an emoji starts a word in mode 2",
         "Make propercase",
         {{"matching mode", Value(2)}},
         u"a" + smile + u"b",
         u"A" + smile + u"B"},
        {"upper case keeps an escaped byte",
         "Make uppercase",
         {},
         u"a" + strayByte,
         u"A" + strayByte},
        {"NTFS keeps an escaped byte", "Convert to NTFS", {}, u"a:" + strayByte, u"a_" + strayByte},
    };
    for (const auto& c : cases) {
        auto action = test::makeNamedAction(c.action, c.params);
        const std::u16string result = test::renamed(*action, c.name);
        EXPECT_EQ(escaped(result), escaped(c.expected)) << c.action << ": " << c.what;
        EXPECT_TRUE(PathText::isEncodable(result)) << c.what;
    }
}

// The supplementary characters of a text; a pair cut in half and joined with
// a neighbour would show up as a character that the name did not have.
std::set<char32_t> supplementaryCharacters(const std::u16string& text) {
    std::set<char32_t> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            found.insert(0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00));
    return found;
}

Value randomValueLike(const Value& defaultValue, test::NameGenerator& random) {
    if (defaultValue.isString()) {
        static const char* const texts[] = {"",  "a",     "-",      ".",         "x y", "A",
                                            ":", "aeiou", "(.)(.)", "(unclosed", "0",   "\\1"};
        return Value(texts[random.number(0, std::size(texts) - 1)]);
    }
    static const Value numbers[] = {
        Value(0),
        Value(1),
        Value(2),
        Value(6),
        Value(7),
        Value(-1),
        Value(-7),
        Value(INT32_MIN),
        Value(INT32_MAX),
        Value(std::int64_t(1) << 40),
        Value(-(std::int64_t(1) << 40)),
        Value("-99999999999"),
        Value(-2.5),
        Value(true),
        Value("12abc"),
    };
    if (random.number(0, 2) == 0)
        return Value(random.number(0, 12));
    return numbers[random.number(0, std::size(numbers) - 1)];
}

// Whatever numbers a damaged settings file holds (negative, huge, texts,
// reals), every action returns a name that can be written, made only of what
// the name and the parameters hold.
TEST(NameActionsProperties, ExtremeSettingsNeverBreakAName) {
    test::NameGenerator random(31337);
    for (int i = 0; i < 6000; ++i) {
        const char* name = nameActions[i % std::size(nameActions)];
        auto action = test::makeNamedAction(name);
        ASSERT_NE(action, nullptr);
        Dictionary params;
        for (const auto& [key, value] : action->parameterList())
            params[key] = randomValueLike(value, random);
        params["fragmentSelection"] = Value(random.number(-1, 4));
        action->setParameterList(params);
        const std::u16string current = random.next(30);
        const std::u16string result = test::renamed(*action, current);
        SCOPED_TRACE(std::string(name) + " " + Value(params).describe() + " on " +
                     escaped(current) + " -> " + escaped(result));
        ASSERT_TRUE(PathText::isEncodable(result));
        for (char32_t c : supplementaryCharacters(result))
            EXPECT_TRUE(supplementaryCharacters(current).count(c)) << std::hex << std::uint32_t(c);
    }
}

TEST(NameActionsProperties, NegativeCountsAndPositionsLeaveTheName) {
    struct Case {
        const char* action;
        Dictionary params;
    };
    const Case cases[] = {
        {"Remove at front", {{"number of characters", Value(-1)}}},
        {"Remove at front", {{"number of characters", Value(INT32_MIN)}}},
        {"Remove from end", {{"number of characters", Value(-3)}}},
        {"Truncate", {{"number of characters", Value(-1)}}},
        {"Truncate", {{"number of characters", Value(-1)}, {"smart", Value(1)}}},
        {"Insert at position", {{"text", Value("X")}, {"position", Value(-1)}}},
        {"Insert at position", {{"text", Value("X")}, {"position", Value(-1)}, {"mode", Value(1)}}},
        {"Insert at position", {{"text", Value("X")}, {"position", Value(INT32_MAX)}}},
        {"Remove anywhere", {{"from position", Value(-2)}, {"to position number", Value(3)}}},
        {"Remove anywhere",
         {{"from position", Value(INT32_MIN)},
          {"from which end of position", Value(1)},
          {"to position number", Value(3)}}},
        {"Remove anywhere",
         {{"from position", Value(1)},
          {"to mode", Value(2)},
          {"remove number of characters", Value(INT32_MAX)}}},
        {"Remove anywhere",
         {{"from position", Value(1)},
          {"to mode", Value(2)},
          {"remove number of characters", Value(INT32_MIN)}}},
        {"Insert in front of text", {{"search term", Value("a")}, {"mode", Value(INT32_MIN)}}},
        {"Replace text", {{"search term", Value("a")}, {"replacement mode", Value(INT32_MIN)}}},
        {"Change numbers", {{"padding", Value(-1)}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::renamed(c.action, c.params, "abcdef 0042"), "abcdef 0042")
            << c.action << " " << Value(c.params).describe();
}

} // namespace
} // namespace morvane
