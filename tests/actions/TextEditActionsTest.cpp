// The text edit actions: adding, replacing and removing at either end,
// removing and truncating by count, trailing spaces, vowels, case, folder
// names, complete renaming and inserting at a position.
#include "MRVN7x/actions/AddFolderNameAtFront.h"
#include "MRVN7x/actions/ProperCaseAction.h"
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
    const char* path = "/Users/ann/photos/item";
};

void runTable(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(renamed(c.action, c.params, c.name, c.path), c.expected)
            << c.action << ": " << c.what << " (name '" << c.name << "')";
}

TEST(TextEditActions, AddAndReplaceAtEitherEnd) {
    runTable({
        {"prepends", "Add to front", {{"string", Value("new_")}}, "photo.jpg", "new_photo.jpg"},
        {"only the base name",
         "Add to front",
         {{"string", Value("x")}, {"fragmentSelection", Value(1)}},
         "a.b.c",
         "xa.b.c"},
        {"ignoring case",
         "Replace at front",
         {{"replace", Value("img")}, {"with", Value("Photo")}, {"ignore case", Value(1)}},
         "IMG_0042",
         "Photo_0042"},
        {"exact case does not match",
         "Replace at front",
         {{"replace", Value("img")}, {"with", Value("Photo")}, {"ignore case", Value(0)}},
         "IMG_0042",
         "IMG_0042"},
        {"only at the very front",
         "Replace at front",
         {{"replace", Value("img")}, {"with", Value("X")}},
         "my img",
         "my img"},
        {"one occurrence only",
         "Replace at front",
         {{"replace", Value("ab")}, {"with", Value("")}},
         "ababx",
         "abx"},
        {"a missing ignore case reads as 1",
         "Replace at front",
         {{"replace", Value("IMG")}, {"with", Value("p")}},
         "img1",
         "p1"},
        {"ß at the front matches SS",
         "Replace at front",
         {{"replace", Value("STRASSE")}, {"with", Value("Weg")}},
         "Straße 5",
         "Weg 5"},
        {"at the end",
         "Replace at end",
         {{"replace", Value("_final")}, {"with", Value("")}},
         "essay_FINAL",
         "essay"},
        {"longer than the fragment",
         "Replace at end",
         {{"replace", Value("longer text")}, {"with", Value("x")}},
         "short",
         "short"},
        {"empty replace text",
         "Replace at end",
         {{"replace", Value("")}, {"with", Value("x")}},
         "short",
         "short"},
        {"not at the end",
         "Replace at end",
         {{"replace", Value("a")}, {"with", Value("o")}},
         "banana!",
         "banana!"},
        {"cuts one occurrence",
         "Remove text at end",
         {{"replace", Value("copy")}},
         "report copy",
         "report "},
        {"one occurrence only",
         "Remove text at end",
         {{"replace", Value("copy")}},
         "copy copy",
         "copy "},
        {"a stored replacement is ignored",
         "Remove text at end",
         {{"replace", Value("copy")}, {"with", Value("X")}},
         "a copy",
         "a "},
        {"cuts at the front",
         "Remove text at front",
         {{"replace", Value("DSC_")}},
         "dsc_0001",
         "0001"},
        {"a stored replacement is ignored",
         "Remove text at front",
         {{"replace", Value("a")}, {"with", Value("X")}},
         "abc",
         "bc"},
        {"decomposed é is matched whole",
         "Remove text at end",
         {{"replace", Value("é")}},
         "cafe\xCC\x81",
         "caf"},
    });
}

TEST(TextEditActions, RemoveAndTruncateByCount) {
    runTable({
        {"removes at front",
         "Remove at front",
         {{"number of characters", Value(4)}},
         "IMG_0042",
         "0042"},
        {"more than the name", "Remove at front", {{"number of characters", Value(3)}}, "ab", ""},
        {"exactly the name", "Remove at front", {{"number of characters", Value(2)}}, "ab", ""},
        {"zero", "Remove at front", {{"number of characters", Value(0)}}, "ab", "ab"},
        {"from end", "Remove from end", {{"number of characters", Value(2)}}, "photo01", "photo"},
        {"more than the name", "Remove from end", {{"number of characters", Value(3)}}, "ab", ""},
        {"equal to the limit",
         "Truncate",
         {{"number of characters", Value(8)}},
         "abcdefgh",
         "abcdefgh"},
        {"plain", "Truncate", {{"number of characters", Value(3)}}, "abcdefgh", "abc"},
        {"default limit is 8", "Truncate", {}, "holiday photos", "holiday "},
        {"smart keeps the tail",
         "Truncate",
         {{"number of characters", Value(8)}, {"smart", Value(1)}},
         "holiday photos.jpeg",
         "hol.jpeg"},
        {"smart with a tail as long as the limit",
         "Truncate",
         {{"number of characters", Value(4)}, {"smart", Value(1)}},
         "holiday photos.jpeg",
         "jpeg"},
        {"smart without a dot is plain",
         "Truncate",
         {{"number of characters", Value(3)}, {"smart", Value(1)}},
         "abcdefgh",
         "abc"},
        {"smart tail from the first dot",
         "Truncate",
         {{"number of characters", Value(4)}, {"smart", Value(1)}},
         "xa.b.c",
         ".b.c"},
        {"smart tail from the first dot, head kept",
         "Truncate",
         {{"number of characters", Value(5)}, {"smart", Value(1)}},
         "xyza.b.c",
         "x.b.c"},
        {"smart on only when 1",
         "Truncate",
         {{"number of characters", Value(8)}, {"smart", Value(2)}},
         "holiday photos.jpeg",
         "holiday "},
        {"limit 0", "Truncate", {{"number of characters", Value(0)}}, "abc", ""},
    });
}

TEST(TextEditActions, SpacesVowelsAndCase) {
    runTable({
        {"only spaces", "Remove trailing spaces", {}, "   ", ""},
        {"a tab stays", "Remove trailing spaces", {}, "a\t ", "a\t"},
        {"inner spaces stay", "Remove trailing spaces", {}, " a b  ", " a b"},
        {"empty", "Remove trailing spaces", {}, "", ""},
        {"vowels and y of either case", "Remove vowels", {}, "Yellow Submarine", "llw Sbmrn"},
        {"a decomposed é goes with its mark", "Remove vowels", {}, "cafe\xCC\x81s", "cfs"},
        {"a precomposed é stays", "Remove vowels", {}, "caf\xC3\xA9s", "cf\xC3\xA9s"},
        {"an emoji stays whole", "Remove vowels", {}, "a\xF0\x9F\x98\x80o", "\xF0\x9F\x98\x80"},
        {"upper case, ß becomes SS", "Make uppercase", {}, "straße", "STRASSE"},
        {"upper case of İstanbul", "Make uppercase", {}, "İstanbul", "İSTANBUL"},
        {"lower case of İstanbul adds a dot", "Make lowercase", {}, "İstanbul", "i\xCC\x87stanbul"},
        {"lower case", "Make lowercase", {}, "STRASSE.JPG", "strasse.jpg"},
        {"only the extension",
         "Make lowercase",
         {{"fragmentSelection", Value(2)}},
         "IMG.JPG",
         "IMG.jpg"},
    });
}

TEST(TextEditActions, ProperCaseByMatchingMode) {
    auto params = [](int mode, int force) {
        return Dictionary{{"matching mode", Value(mode)}, {"force to lowercase", Value(force)}};
    };
    runTable({
        {"mode 0", "Make propercase", params(0, 1), "hello WORLD-wide web", "Hello World-wide Web"},
        {"mode 1", "Make propercase", params(1, 1), "hello WORLD-wide web", "Hello World-Wide Web"},
        {"mode 2", "Make propercase", params(2, 1), "o'neil 2nd", "O'Neil 2Nd"},
        {"no forcing", "Make propercase", params(0, 0), "hELLO", "HELLO"},
        {"no forcing keeps the rest", "Make propercase", params(0, 0), "hELLO wORLD",
         "HELLO WORLD"},
        {"other modes capitalise only the first", "Make propercase", params(7, 1), "a b-c",
         "A b-c"},
        {"the first character maps fully", "Make propercase", params(0, 1), "ßa", "SSa"},
        {"a tab starts a word", "Make propercase", params(0, 1), "a\tb", "A\tB"},
        {"a no-break space starts a word", "Make propercase", params(0, 1),
         "a\xC2\xA0"
         "b",
         "A\xC2\xA0"
         "B"},
        {"mode 1: a plus is no punctuation", "Make propercase", params(1, 1), "a+b", "A+b"},
        {"mode 2: a plus starts a word", "Make propercase", params(2, 1), "a+b", "A+B"},
        {"a letter outside the BMP", "Make propercase", params(0, 1), "\xF0\x90\x90\xA8x y",
         "\xF0\x90\x90\x80x Y"},
        {"the defaults: mode 0, forcing", "Make propercase", {}, "aB cD", "Ab Cd"},
    });
    // The fallback of "force to lowercase" is 0, unlike its default of 1.
    auto action = test::makeNamedAction("Make propercase");
    auto list = action->parameterList();
    list.erase("force to lowercase");
    auto bare = std::make_unique<ProperCaseAction>();
    bare->setParameterList(list);
    EXPECT_EQ(toU8(test::renamed(*bare, u"aB cD")), "AB CD");
}

TEST(TextEditActions, FolderNamesCompleteRenameAndInsert) {
    runTable({
        {"folder in front, ':' shows as '/'",
         "Add folder name to front",
         {{"trailing space", Value(1)}},
         "photo",
         "a/b photo",
         "/Users/ann/a:b/photo"},
        {"without space",
         "Add folder name to front",
         {{"trailing space", Value(0)}},
         "photo",
         "photosphoto",
         "/Users/ann/photos/photo"},
        {"an item in the root folder",
         "Add folder name to front",
         {},
         "photo",
         "/ photo",
         "/photo"},
        {"a trailing slash of a folder",
         "Add folder name to front",
         {},
         "sub",
         "ann sub",
         "/Users/ann/sub/"},
        {"a path of one component",
         "Add folder name to front",
         {{"trailing space", Value(0)}},
         "photo",
         "photo",
         "photo"},
        {"folder at the end",
         "Add folder name to end",
         {{"leading space", Value(1)}},
         "photo",
         "photo photos"},
        {"without space",
         "Add folder name to end",
         {{"leading space", Value(0)}},
         "photo",
         "photophotos"},
        {"completely", "Completely rename", {{"newName", Value("same")}}, "anything.jpg", "same"},
        {"only the base name",
         "Completely rename",
         {{"newName", Value("same")}, {"fragmentSelection", Value(1)}},
         "anything.jpg",
         "same.jpg"},
        {"position 2 from the start",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(2)}, {"mode", Value(0)}},
         "abcd",
         "abXcd"},
        {"position 2 from the end",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(2)}, {"mode", Value(1)}},
         "abcd",
         "abXcd"},
        {"position 1 from the end",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(1)}, {"mode", Value(1)}},
         "abcd",
         "abcXd"},
        {"past the end, no clamping",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(5)}},
         "abcd",
         "abcd"},
        {"position 0 prepends",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(0)}, {"mode", Value(0)}},
         "abcd",
         "Xabcd"},
        {"position 0 from the end appends",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(0)}, {"mode", Value(1)}},
         "abcd",
         "abcdX"},
        {"position len from the end prepends",
         "Insert at position",
         {{"text", Value("X")}, {"position", Value(4)}, {"mode", Value(1)}},
         "abcd",
         "Xabcd"},
    });
    EXPECT_EQ(AddFolderNameAtFront::folderDisplayName("//a//b//c"), u"b");
    EXPECT_EQ(AddFolderNameAtFront::folderDisplayName("/"), u"");
    EXPECT_EQ(AddFolderNameAtFront::folderDisplayName(""), u"");
    // A folder whose name is not UTF-8 keeps its stray byte, escaped.
    EXPECT_EQ(AddFolderNameAtFront::folderDisplayName("/x/b\xFF/y"), u"b\xDCFF");
}

TEST(TextEditActions, DefaultsAndClassTree) {
    struct Expected {
        const char* action;
        Dictionary defaults;
    };
    const Expected expected[] = {
        {"Add to front", {{"string", Value("")}}},
        {"Replace at front",
         {{"replace", Value("")}, {"with", Value("")}, {"ignore case", Value(1)}}},
        {"Replace at end",
         {{"replace", Value("")}, {"with", Value("")}, {"ignore case", Value(1)}}},
        {"Remove text at front",
         {{"replace", Value("")}, {"with", Value("")}, {"ignore case", Value(1)}}},
        {"Remove text at end",
         {{"replace", Value("")}, {"with", Value("")}, {"ignore case", Value(1)}}},
        {"Remove at front", {{"number of characters", Value(0)}}},
        {"Remove from end", {{"number of characters", Value(0)}}},
        {"Truncate", {{"number of characters", Value(8)}, {"smart", Value(0)}}},
        {"Remove trailing spaces", {}},
        {"Remove vowels", {}},
        {"Make uppercase", {}},
        {"Make lowercase", {}},
        {"Make propercase", {{"matching mode", Value(0)}, {"force to lowercase", Value(1)}}},
        {"Add folder name to front", {{"trailing space", Value(1)}}},
        {"Add folder name to end", {{"leading space", Value(1)}}},
        {"Completely rename", {{"newName", Value("")}}},
        {"Insert at position", {{"text", Value("")}, {"position", Value(0)}, {"mode", Value(0)}}},
    };
    for (const auto& e : expected) {
        auto action = test::makeNamedAction(e.action);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->actionName(), e.action);
        Dictionary defaults = e.defaults;
        defaults["active"] = Value(1);
        defaults["fragmentSelection"] = Value(0);
        EXPECT_EQ(action->parameterList(), defaults) << e.action;
    }
}

} // namespace
} // namespace morvane
