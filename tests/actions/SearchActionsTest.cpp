// The search-based actions: replacing and removing occurrences, inserting at
// an occurrence, replacing characters from sets, and removing a stretch.
#include "MRVN7x/actions/ReplaceTextAction.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;
using test::renamed;

struct Case {
    const char* what;
    const char* action;
    Dictionary params;
    const char* name;
    const char* expected;
};

void runTable(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(renamed(c.action, c.params, c.name), c.expected)
            << c.action << ": " << c.what << " (name '" << c.name << "')";
}

Dictionary replace(const char* search, const char* with, int mode, int ignoreCase = 1) {
    return {{"search term", Value(search)},
            {"replacement term", Value(with)},
            {"replacement mode", Value(mode)},
            {"ignore case", Value(ignoreCase)}};
}

TEST(SearchActions, ReplaceTextByOccurrence) {
    runTable({
        {"all", "Replace text", replace("a", "o", 0), "banana", "bonono"},
        {"the first", "Replace text", replace("a", "o", 1), "banana", "bonana"},
        {"the third", "Replace text", replace("a", "o", 3), "banana", "banano"},
        {"the last", "Replace text", replace("a", "o", 7), "banana", "banano"},
        {"the second to last", "Replace text", replace("a", "o", 8), "banana", "banona"},
        {"the third to last", "Replace text", replace("a", "o", 9), "banana", "bonana"},
        {"the fourth of three", "Replace text", replace("a", "o", 4), "banana", "banana"},
        {"the fourth to last of three", "Replace text", replace("a", "o", 10), "banana", "banana"},
        {"a negative mode", "Replace text", replace("a", "o", -1), "banana", "banana"},
        {"a huge mode", "Replace text", replace("a", "o", 2147483647), "banana", "banana"},
        {"ignoring case", "Replace text", replace("JPG", "jpg", 0, 1), "a.JPG.jpg", "a.jpg.jpg"},
        {"exact: only the upper-case one matches", "Replace text", replace("JPG", "jpg", 0, 0),
         "a.JPG.jpg", "a.jpg.jpg"},
        {"exact misses other case", "Replace text", replace("jpg", "X", 0, 0), "a.JPG", "a.JPG"},
        {"nothing found", "Replace text", replace("x", "y", 0), "banana", "banana"},
        {"an empty search term", "Replace text", replace("", "y", 0), "banana", "banana"},
        {"ignoring case finds STRASSE in Straße", "Replace text", replace("STRASSE", "Weg", 0),
         "Große Straße 5", "Große Weg 5"},
        {"the last of 'aa' in 'aaa' counts from the left", "Replace text", replace("aa", "X", 7),
         "aaa", "Xa"},
        {"a replacement holding the search term is not searched again", "Replace text",
         replace("a", "aa", 0), "aba", "aabaa"},
        {"decomposed é matches a precomposed search", "Replace text", replace("é", "e", 0),
         "cafe\xCC\x81 caf\xC3\xA9", "cafe cafe"},
        {"removes all", "Remove text", replace("aa", "", 0), "aaaa", ""},
        {"removes the second", "Remove text", replace("-", "", 2), "a-b-c", "a-bc"},
        {"a stored replacement is ignored", "Remove text", replace("-", "X", 0), "a-b", "ab"},
    });
}

TEST(SearchActions, ReplaceTextDescriptions) {
    struct Case {
        int mode;
        const char* phrase;
    };
    const Case cases[] = {
        {0, "all occurences of "},
        {1, "only the first occurence of "},
        {6, "only the sixth occurence of "},
        {7, "only the last occurence of "},
        {10, "only the forth to last occurence of "},
        {12, "only the sixth to last occurence of "},
        {13, ""},
        {-1, ""},
    };
    auto action = makeAction<ReplaceTextAction>();
    for (const auto& c : cases) {
        action->setValueForKey("replacement mode", Value(c.mode));
        EXPECT_EQ(action->userDescriptionOccurence(), c.phrase) << c.mode;
    }
    EXPECT_EQ(action->userDescriptionIgnore(), " while ignoring case.");
    action->setValueForKey("ignore case", Value(0));
    EXPECT_EQ(action->userDescriptionIgnore(), ".");
    EXPECT_EQ(ReplaceTextAction::extractChunkFrom(u"abcdef", 2, 4), u"cd");
    EXPECT_EQ(ReplaceTextAction::extractChunkFrom(u"abcdef", 4, 99), u"ef");
    EXPECT_EQ(ReplaceTextAction::extractChunkFrom(u"abcdef", 9, 2), u"");
}

Dictionary insert(const char* search, const char* text, int mode, int ignoreCase = 1) {
    return {{"search term", Value(search)},
            {"text", Value(text)},
            {"mode", Value(mode)},
            {"ignore case", Value(ignoreCase)}};
}

TEST(SearchActions, InsertAtAnOccurrence) {
    runTable({
        {"before the last", "Insert in front of text", insert("-", " ", 6), "a-b-c", "a-b -c"},
        {"before the first", "Insert in front of text", insert("-", " ", 0), "a-b-c", "a -b-c"},
        {"not found", "Insert in front of text", insert("x", " ", 0), "a-b-c", "a-b-c"},
        {"an empty search term", "Insert in front of text", insert("", "X", 0), "abc", "abc"},
        {"the third of two", "Insert in front of text", insert("-", "X", 2), "a-b-c", "a-b-c"},
        {"a negative mode", "Insert in front of text", insert("-", "X", -3), "a-b-c", "a-b-c"},
        {"exact case", "Insert in front of text", insert("B", "X", 0, 0), "abB", "abXB"},
        {"after the first", "Insert at end of text", insert("-", " ", 0), "a-b-c", "a- b-c"},
        {"after the last", "Insert at end of text", insert("-", " ", 6), "a-b-c", "a-b- c"},
        {"not found", "Insert at end of text", insert("x", " ", 0), "a-b-c", "a-b-c"},
        // The insertion follows the matched text in the name (6 units), not the
        // search term's 7 units, which would split the following space.
        {"after a match shorter than its search term", "Insert at end of text",
         insert("STRASSE", "!", 0), "Straße 5", "Straße! 5"},
        {"after a decomposed match", "Insert at end of text", insert("é", "!", 0), "cafe\xCC\x81s",
         "cafe\xCC\x81!s"},
    });
}

Dictionary pairs(std::initializer_list<std::tuple<const char*, const char*, int>> list) {
    Dictionary params;
    int k = 0;
    for (const auto& [set, with, ignore] : list) {
        params["replace characters " + std::to_string(k)] = Value(set);
        params["with " + std::to_string(k)] = Value(with);
        params["ignore case " + std::to_string(k)] = Value(ignore);
        ++k;
    }
    return params;
}

TEST(SearchActions, ReplaceCharactersFromSets) {
    runTable({
        {"each character is looked up once, set 0 first", "Replace characters",
         pairs({{" _", "-", 1}, {"-", " ", 1}}), "a b-c_d", "a-b c-d"},
        {"ignoring case", "Remove characters", pairs({{"aeiou", "", 1}}), "AbcE", "bc"},
        {"exact case", "Remove characters", pairs({{"aeiou", "", 0}}), "AbcE", "AbcE"},
        {"a replacement in a later set stays", "Replace characters",
         pairs({{"a", "b", 1}, {"b", "c", 1}}), "ab", "bc"},
        {"an empty replacement deletes", "Replace characters", pairs({{"x", "", 1}}), "axbx", "ab"},
        {"empty sets match nothing", "Replace characters", pairs({{"", "X", 1}}), "abc", "abc"},
        {"a long replacement is cut to one character", "Replace characters",
         pairs({{"a", "xyz", 1}}), "banana", "bxnxnx"},
        {"pair 3 counts too", "Replace characters",
         pairs({{"", "", 1}, {"", "", 1}, {"", "", 1}, {"z", "s", 1}}), "zoo", "soo"},
        {"a decomposed é is one sequence, matched by a precomposed é", "Replace characters",
         pairs({{"\xC3\xA9", "e", 1}}), "cafe\xCC\x81", "cafe"},
        {"a decomposed é is one sequence, matched by a decomposed é", "Replace characters",
         pairs({{"e\xCC\x81", "E", 1}}), "caf\xC3\xA9", "cafE"},
        {"a plain e in the set leaves é alone", "Replace characters", pairs({{"e", "X", 1}}),
         "cafe\xCC\x81 e", "cafe\xCC\x81 X"},
        {"an emoji is one sequence", "Replace characters", pairs({{"\xF0\x9F\x98\x80", "_", 1}}),
         "a\xF0\x9F\x98\x80"
         "b",
         "a_b"},
        {"an emoji replacement is kept whole", "Replace characters",
         pairs({{"_", "\xF0\x9F\x98\x80!", 1}}), "a_b",
         "a\xF0\x9F\x98\x80"
         "b"},
        {"stored replacements are ignored", "Remove characters", pairs({{"b", "X", 1}}), "abc",
         "ac"},
    });
    // The cut replacement is written back to the parameters.
    auto action = test::makeNamedAction("Replace characters", pairs({{"a", "xyz", 1}}));
    test::renamed(*action, u"a");
    EXPECT_EQ(action->getParamString("with 0"), "x");
}

Dictionary stretch(std::initializer_list<std::pair<const char*, Value>> entries) {
    Dictionary params;
    for (const auto& [key, value] : entries)
        params[key] = value;
    return params;
}

TEST(SearchActions, RemoveAnywhere) {
    runTable({
        {"from 2 to 5", "Remove anywhere",
         stretch({{"from position", Value(2)}, {"to position number", Value(5)}}), "abcdefg",
         "abfg"},
        {"to 8 is past the end", "Remove anywhere",
         stretch({{"from position", Value(2)}, {"to position number", Value(8)}}), "abcdefg",
         "abcdefg"},
        {"to the very end", "Remove anywhere",
         stretch({{"from position", Value(2)}, {"to position number", Value(7)}}), "abcdefg", "ab"},
        {"both from the end", "Remove anywhere",
         stretch({{"from position", Value(3)},
                  {"from which end of position", Value(1)},
                  {"to position number", Value(1)},
                  {"to which end of position", Value(1)}}),
         "abcdefg", "abcdg"},
        {"a start after the end", "Remove anywhere",
         stretch({{"from position", Value(5)}, {"to position number", Value(2)}}), "abcdefg",
         "abcdefg"},
        {"equal ends remove nothing", "Remove anywhere",
         stretch({{"from position", Value(3)}, {"to position number", Value(3)}}), "abcdefg",
         "abcdefg"},
        {"between brackets", "Remove anywhere",
         stretch({{"from mode", Value(1)},
                  {"from search term", Value("(")},
                  {"to mode", Value(1)},
                  {"to search term", Value(")")},
                  {"to which end of occurence", Value(1)}}),
         "song (live).mp3", "song .mp3"},
        {"from the end of the first to the last", "Remove anywhere",
         stretch({{"from mode", Value(1)},
                  {"from search term", Value("-")},
                  {"from which end of occurence", Value(1)},
                  {"to mode", Value(1)},
                  {"to search term", Value("-")},
                  {"to occurence number", Value(6)}}),
         "a-b-c-d", "a--d"},
        {"a missing from occurrence", "Remove anywhere",
         stretch({{"from mode", Value(1)},
                  {"from search term", Value("x")},
                  {"from which end of occurence", Value(1)},
                  {"to position number", Value(3)}}),
         "abcdef", "abcdef"},
        {"a missing to occurrence", "Remove anywhere",
         stretch({{"to mode", Value(1)}, {"to search term", Value("x")}}), "abcdef", "abcdef"},
        {"the to occurrence is searched in the whole name", "Remove anywhere",
         stretch(
             {{"from position", Value(4)}, {"to mode", Value(1)}, {"to search term", Value("b")}}),
         "abcdef", "abcdef"},
        {"3 forward from 1", "Remove anywhere",
         stretch({{"from position", Value(1)},
                  {"to mode", Value(2)},
                  {"remove number of characters", Value(3)}}),
         "abcdef", "aef"},
        {"3 backward from 4", "Remove anywhere",
         stretch({{"from position", Value(4)},
                  {"to mode", Value(2)},
                  {"remove number of characters", Value(3)},
                  {"remove number of characters from which end", Value(1)}}),
         "abcdef", "aef"},
        {"3 backward from 2 reaches before the start", "Remove anywhere",
         stretch({{"from position", Value(2)},
                  {"to mode", Value(2)},
                  {"remove number of characters", Value(3)},
                  {"remove number of characters from which end", Value(1)}}),
         "abcdef", "abcdef"},
        // Backward but not 1: the ends are not swapped, so the start is after the end.
        {"backward flag 2 is not swapped", "Remove anywhere",
         stretch({{"from position", Value(4)},
                  {"to mode", Value(2)},
                  {"remove number of characters", Value(3)},
                  {"remove number of characters from which end", Value(2)}}),
         "abcdef", "abcdef"},
        {"an unknown from mode", "Remove anywhere",
         stretch({{"from mode", Value(2)}, {"to position number", Value(3)}}), "abcdef", "abcdef"},
        {"an unknown to mode", "Remove anywhere",
         stretch({{"to mode", Value(3)}, {"to position number", Value(3)}}), "abcdef", "abcdef"},
        {"the end of a match shorter than its search term", "Remove anywhere",
         stretch({{"from mode", Value(1)},
                  {"from search term", Value("STRASSE")},
                  {"from which end of occurence", Value(1)},
                  {"to position number", Value(0)},
                  {"to which end of position", Value(1)}}),
         "Straße 5", "Straße"},
    });
}

} // namespace
} // namespace morvane
