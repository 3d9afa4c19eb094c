// "Manually rename": the action itself and the pre-selection it asks for.
#include "MRVN7x/actions/ManualRenameAction.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;

TEST(ManualRenameActionTest, LeavesNamesAndReportsItsSelection) {
    auto action = makeAction<ManualRenameAction>();
    // "select string" is not among the defaults; "replacement term" is.
    const Dictionary defaults = {{"active", Value(1)},
                                 {"fragmentSelection", Value(0)},
                                 {"replacement term", Value("")},
                                 {"ignore case", Value(1)}};
    EXPECT_EQ(action->parameterList(), defaults);
    EXPECT_EQ(action->getTheSelectionString(), u"");
    EXPECT_EQ(action->getMask(), kCaseInsensitiveSearch);
    EXPECT_EQ(test::renamed(*action, u"img_0042.jpg"), u"img_0042.jpg");

    action->setValueForKey("select string", Value("IMG"));
    action->setValueForKey("ignore case", Value(0));
    EXPECT_EQ(action->getTheSelectionString(), u"IMG");
    EXPECT_EQ(action->getMask(), kExactSearch);
    action->setValueForKey("ignore case", Value(2));
    EXPECT_EQ(action->getMask(), kExactSearch);

    auto named = test::makeNamedAction("Manually rename", {{"select string", Value("x")}});
    EXPECT_EQ(named->actionName(), "Manually rename");
    EXPECT_EQ(test::renamed(*named, u"a.b"), u"a.b");
}

TEST(ManualRenameActionTest, PreselectedRange) {
    struct Case {
        const char* what;
        std::u16string text, selection;
        SearchOptions mask;
        TextRange expected;
    };
    const Case cases[] = {
        {"found ignoring case", u"img_0042.jpg", u"IMG", kCaseInsensitiveSearch, {0, 3}},
        {"not found: everything", u"holiday.jpg", u"IMG", kCaseInsensitiveSearch, {0, 11}},
        {"exact case misses", u"img_0042.jpg", u"IMG", kExactSearch, {0, 12}},
        {"only the first occurrence", u"a_b_c", u"_", kExactSearch, {1, 1}},
        {"empty selection: everything", u"abc", u"", kCaseInsensitiveSearch, {0, 3}},
        {"ß matched by SS", u"Straße 5", u"STRASSE", kCaseInsensitiveSearch, {0, 6}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ManualRenameAction::preselectedRange(c.text, c.selection, c.mask), c.expected)
            << c.what;
}

} // namespace
} // namespace morvane
