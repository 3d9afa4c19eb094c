#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/actions/sequence/AlphabeticalListBasedAction.h"
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"
#include "tests/sequences/SequenceTestSupport.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {

struct Registry {
    TempDir folder{"registry"};
    UserDefaults defaults{"net.halvard.mrvn7", folder.path()};
    ActionList list{defaults};
};

} // namespace

TEST(SequenceRegistry, EveryNameIsCreatedWithItsDefaults) {
    Registry registry;
    struct Case {
        std::string name;
        bool letters;
        plist::Dictionary own;
    };
    const std::vector<Case> cases = {
        {"Add number to start", false, {}},
        {"Add number to end", false, {}},
        {"Produce numbered list",
         false,
         {{"prefix", plist::Value("Caribbean Holiday ")}, {"suffix", plist::Value("")}}},
        {"Insert number at position",
         false,
         {{"position", plist::Value(0)},
          {"mode", plist::Value(0)},
          {"prefix", plist::Value("")},
          {"suffix", plist::Value("")}}},
        {"Insert number in front of existing text",
         false,
         {{"search term", plist::Value("")},
          {"mode", plist::Value(0)},
          {"ignore case", plist::Value(1)}}},
        {"Insert number after existing text",
         false,
         {{"search term", plist::Value("")},
          {"mode", plist::Value(0)},
          {"ignore case", plist::Value(1)}}},
        {"Produce alphabetical list",
         true,
         {{"prefix", plist::Value("")}, {"suffix", plist::Value("")}}},
        {"Add alphabetical sequence to start", true, {}},
        {"Add alphabetical sequence to end", true, {}},
    };
    for (const auto& c : cases) {
        auto made = registry.list.newActionForName(c.name, nullptr);
        ASSERT_TRUE(made) << c.name;
        auto& action = *made;
        EXPECT_EQ(action->actionName(), c.name);
        plist::Dictionary expected = {{"active", plist::Value(1)},
                                      {"fragmentSelection", plist::Value(0)},
                                      {"sortEachFolderSeparately", plist::Value(0)},
                                      {"sortingMode", plist::Value(11)},
                                      {"sortingMode2", plist::Value(0)},
                                      {"step value", plist::Value(1)}};
        if (c.letters) {
            EXPECT_TRUE(dynamic_cast<AlphabeticalListBasedAction*>(action.get())) << c.name;
            expected["startValue"] = plist::Value("A");
            expected["padding"] = plist::Value(1);
        } else {
            EXPECT_TRUE(dynamic_cast<SortNumberBasedAction*>(action.get())) << c.name;
            expected["start value"] = plist::Value(1);
            expected["padding"] = plist::Value(2);
        }
        for (const auto& [key, value] : c.own)
            expected[key] = value;
        EXPECT_EQ(action->parameterList(), expected) << c.name;
    }
}

TEST(SequenceChain, TwoSequenceStepsNumberByTheirOwnOrders) {
    NamingFixture f;
    f.useFiles({"a.txt", "b.txt", "c.txt"});
    Registry registry;
    auto chain = makeAction<CompositeRenameAction>(registry.list);
    const plist::Dictionary ascending = {{"sortingMode", plist::Value(0)},
                                         {"fragmentSelection", plist::Value(1)}};
    const plist::Dictionary descending = {{"sortingMode", plist::Value(1)},
                                          {"padding", plist::Value(1)},
                                          {"fragmentSelection", plist::Value(1)}};
    plist::Array steps;
    for (const auto& [name, params] : std::vector<std::pair<std::string, plist::Dictionary>>{
             {"Add number to start", ascending}, {"Add number to end", descending}})
        steps.push_back(plist::Value(plist::Dictionary{
            {"action name", plist::Value(name)}, {"action parameter list", plist::Value(params)}}));
    ASSERT_TRUE(chain->setFlatParameterList(
        plist::Dictionary{{"currentActionIndex", plist::Value(0)},
                          {"composite actions array", plist::Value(std::move(steps))}}));
    EXPECT_EQ(f.newNames(*chain),
              (NameMap{{"a.txt", u"01a3.txt"}, {"b.txt", u"02b2.txt"}, {"c.txt", u"03c1.txt"}}));
}

TEST(SequenceChain, FirstStartIsOneProduceNumberedListStep) {
    NamingFixture f;
    f.useFiles({"x.jpg", "y.jpg"});
    Registry registry;
    auto chain = makeAction<CompositeRenameAction>(registry.list);
    ASSERT_TRUE(chain->loadFromPreferences()); // nothing saved yet
    ASSERT_EQ(chain->count(), 1);
    EXPECT_EQ(chain->getCurrentAction()->actionName(), "Produce numbered list");
    EXPECT_EQ(chain->getCurrentActionIndexAsInt(), 0);
    EXPECT_EQ(f.newNames(*chain),
              (NameMap{{"y.jpg", u"Caribbean Holiday 01"}, {"x.jpg", u"Caribbean Holiday 02"}}));
}
