#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/AddToEndAction.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"
#include "tests/actions/ActionTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace morvane;
using namespace morvane::test;

namespace {

std::u16string addToEnd(const std::u16string& name, int selection, const std::string& text) {
    auto action = makeAction<AddToEndAction>();
    action->setValueForKey("string", plist::Value(text));
    action->setValueForKey("fragmentSelection", plist::Value(selection));
    InputContext input{"/folder/" + toU8(name), name};
    OutputContext output;
    action->executeWithInputContext(input, output);
    return output.newName;
}

struct RecordingObserver : KeyValueObserver {
    struct Change {
        std::string key;
        std::optional<plist::Value> oldValue, newValue;
    };
    std::vector<Change> changes;
    void observeValueForKey(const std::string& key, BaseAction&,
                            const std::optional<plist::Value>& oldValue,
                            const std::optional<plist::Value>& newValue) override {
        changes.push_back({key, oldValue, newValue});
    }
    int count(const std::string& key) const {
        return static_cast<int>(std::count_if(changes.begin(), changes.end(),
                                              [&](const Change& c) { return c.key == key; }));
    }
};

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        SystemLog::setSink([this](SystemLog::Level, const std::string& m) { lines.push_back(m); });
    }
    ~LogCapture() { SystemLog::setSink({}); }
};

} // namespace

TEST(FragmentSelection, AddToEndOnEveryKindOfName) {
    struct Case {
        std::u16string name;
        int selection;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {u"photo.jpg", 0, u"photo.jpg_v2"},
        {u"photo.jpg", 1, u"photo_v2.jpg"},
        {u"photo.jpg", 2, u"photo.jpg_v2"},
        {u"photo.jpg", 3, u"photo.jpg_v2"},
        {u"archive.tar.gz", 1, u"archive.tar_v2.gz"},
        {u"archive.tar.gz", 2, u"archive.tar.gz_v2"},
        {u"archive.tar.gz", 3, u"archive.tar.gz_v2"},
        {u".profile", 1, u"_v2.profile"},
        {u".profile", 2, u".profile_v2"},
        {u".profile", 0, u".profile_v2"},
        {u"notes.", 1, u"notes_v2."},
        {u"notes.", 2, u"notes._v2"},
        {u"notes.", 3, u"notes._v2"},
        {u"README", 0, u"README_v2"},
        {u"README", 1, u"README_v2"},
        {u"README", 2, u"README"},
        {u"README", 3, u"README"},
        {u"a.b.c", 1, u"a.b_v2.c"},
        {u"My Folder", 2, u"My Folder"},
        // Values the view never stores are read as the whole name.
        {u"photo.jpg", 7, u"photo.jpg_v2"},
        {u"photo.jpg", -1, u"photo.jpg_v2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addToEnd(c.name, c.selection, "_v2"), c.expected)
            << toU8(c.name) << " selection " << c.selection;
}

TEST(FragmentSelection, SelectionThreeHandsOverTheDotWithTheExtension) {
    auto split = BaseRenameAction::splitName(u"a.b.c", 3);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->front, u"a.b");
    EXPECT_EQ(split->fragment, u".c");
    EXPECT_EQ(split->back, u"");
}

TEST(FragmentSelection, ResultWithHalfASurrogatePairKeepsTheName) {
    // "\xD83D" alone is half of an emoji: such a name cannot be written to disk.
    auto action = makeAction<AddToEndAction>();
    action->setValueForKey("string", plist::Value("x"));
    InputContext input{"/f/a", u"a\xD83D"};
    OutputContext output;
    action->executeWithInputContext(input, output);
    EXPECT_EQ(output.newName, u"a\xD83D");
}

TEST(Parameters, NullWritesByKind) {
    auto action = makeAction<AddToEndAction>();
    action->setValueForKey("string", plist::Value("abc"));
    action->setValueForKey("string", std::nullopt);
    EXPECT_EQ(*action->valueForKey("string"), plist::Value(""));

    action->setValueForKey("fragmentSelection", plist::Value(2));
    action->setValueForKey("fragmentSelection", std::nullopt);
    EXPECT_EQ(*action->valueForKey("fragmentSelection"), plist::Value(0));

    action->setValueForKey("absent", std::nullopt);
    EXPECT_FALSE(action->valueForKey("absent"));

    LogCapture log;
    action->setValueForKey("list", plist::Value(plist::Array{plist::Value(1)}));
    action->setValueForKey("list", std::nullopt);
    EXPECT_EQ(action->valueForKey("list")->asArray()->size(), 1u);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "unrecognized null value put into BaseAction");
}

TEST(Parameters, MergeKeepsDefaultsOfKeysTheSavedListLacks) {
    auto action = makeAction<AddToEndAction>();
    // An older saved list without "string", with an extra key and a wrong type.
    action->setParameterList({{"fragmentSelection", plist::Value(1)},
                              {"retired key", plist::Value("kept")},
                              {"active", plist::Value("1")}});
    EXPECT_EQ(*action->valueForKey("string"), plist::Value(""));
    EXPECT_EQ(action->getParamInt("fragmentSelection", 9), 1);
    EXPECT_EQ(*action->valueForKey("retired key"), plist::Value("kept"));
    EXPECT_EQ(action->getParamInt("active", 0), 1);
    EXPECT_EQ(action->parameterList().count("retired key"), 1u);
}

// The typed fields are prepared once and kept until the parameters change;
// every way of changing them must reach the next name.
TEST(Parameters, EveryChangeReachesTheNextName) {
    struct Case {
        const char* route;
        std::function<void(BaseRenameAction&)> change;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"key write", [](BaseRenameAction& a) { a.setValueForKey("string", plist::Value("_b")); },
         u"x_b"},
        {"null write", [](BaseRenameAction& a) { a.setValueForKey("string", std::nullopt); }, u"x"},
        {"merged list",
         [](BaseRenameAction& a) {
             a.setParameterList({{"string", plist::Value("!")}});
         },
         u"x!"},
        {"fragment selection",
         [](BaseRenameAction& a) { a.setValueForKey("fragmentSelection", plist::Value(1)); },
         u"x_a"},
    };
    for (const auto& c : cases) {
        auto action = makeNamedAction("Add to end", {{"string", plist::Value("_a")}});
        EXPECT_EQ(renamed(*action, u"x"), u"x_a") << c.route;
        c.change(*action);
        EXPECT_EQ(renamed(*action, u"x"), c.expected) << c.route;
    }
}

TEST(Parameters, IntegerReading) {
    struct Case {
        plist::Value value;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {plist::Value("12abc"), 12},
        {plist::Value("abc"), 0},
        {plist::Value("  -7x"), -7},
        {plist::Value("+3"), 3},
        {plist::Value(""), 0},
        {plist::Value("99999999999999"), 2147483647},
        {plist::Value("-99999999999"), -2147483648},
        {plist::Value(std::int64_t(1) << 40), 2147483647},
        {plist::Value(4.9), 4},
        {plist::Value(true), 1},
        {plist::Value(plist::Array{}), 0},
    };
    for (const auto& c : cases) {
        auto action = makeAction<AddToEndAction>();
        action->setValueForKey("k", c.value);
        EXPECT_EQ(action->getParamInt("k", 55), c.expected) << c.value.describe();
    }
    auto action = makeAction<AddToEndAction>();
    EXPECT_EQ(action->getParamInt("absent", 55), 55);
    EXPECT_EQ(action->getParamString("absent"), "");
}

TEST(Parameters, LimitToOneCharacterWritesBackThroughTheKeyInterface) {
    auto action = makeAction<AddToEndAction>();
    RecordingObserver observer;
    action->setValueForKey("c", plist::Value("xyz"));
    action->addObserver(&observer, "c");
    EXPECT_EQ(action->limitTextFieldInputTo1Character("c"), u"x");
    EXPECT_EQ(*action->valueForKey("c"), plist::Value("x"));
    EXPECT_EQ(observer.count("c"), 1);
    EXPECT_EQ(action->limitTextFieldInputTo1Character("c"), u"x");
    EXPECT_EQ(observer.count("c"), 1); // nothing to cut, nothing written
    action->setValueForKey("c", plist::Value("\xf0\x9f\x98\x80z"));
    EXPECT_EQ(action->limitTextFieldInputTo1Character("c"), u"\xD83D\xDE00");
}

TEST(Observers, KeyWritesReportOldAndNewValueAndUserDescription) {
    auto action = makeAction<AddToEndAction>();
    RecordingObserver observer;
    action->registerObserverForAllValues(&observer);
    action->addObserver(&observer, "userDescription");
    action->setValueForKey("string", plist::Value("new"));
    ASSERT_EQ(observer.count("string"), 1);
    EXPECT_EQ(observer.count("userDescription"), 1);
    const auto& change = *std::find_if(observer.changes.begin(), observer.changes.end(),
                                       [](auto& c) { return c.key == "string"; });
    EXPECT_EQ(*change.oldValue, plist::Value(""));
    EXPECT_EQ(*change.newValue, plist::Value("new"));

    observer.changes.clear();
    action->setParameterList({{"string", plist::Value("merged")}});
    EXPECT_EQ(observer.count("string"), 1);
    EXPECT_EQ(observer.count("active"), 1);
    EXPECT_EQ(observer.count("fragmentSelection"), 1);

    observer.changes.clear();
    action->removeObserver(&observer);
    action->setValueForKey("string", plist::Value("unseen"));
    EXPECT_TRUE(observer.changes.empty());
}

TEST(Registry, MenuTablesRunInParallel) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    ActionList registry(defaults);
    ASSERT_EQ(registry.nameArray().size(), registry.popUpMenuItems().size());
    int actions = 0;
    for (int i = 0; i < registry.count(); ++i) {
        const std::string name = registry.nameForPopUpIndex(i);
        const bool separator = registry.popUpMenuItems()[static_cast<size_t>(i)].empty();
        EXPECT_EQ(name.empty(), separator) << i;
        if (separator)
            continue;
        ++actions;
        EXPECT_EQ(registry.popUpMenuIndexForName(name), i);
        EXPECT_FALSE(registry.nibNameForActionName(name).empty()) << name;
    }
    EXPECT_EQ(actions, 49);
    EXPECT_EQ(registry.popUpMenuItemStringForName("Add to end"), "Add Text to End");
    EXPECT_EQ(registry.popUpMenuItemStringForName("No such action"), "Error");
    EXPECT_EQ(registry.popUpMenuIndexForName("No such action"), ActionList::kNotFound);
    EXPECT_EQ(registry.nameForPopUpIndex(-1), "");
    EXPECT_EQ(registry.nameForPopUpIndex(registry.count()), "");
}

TEST(Registry, UnknownOrUnbuiltNamesFailWithoutAStandIn) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    ActionList registry(defaults);
    LogCapture log;
    for (const char* name :
         {"No such action", "", "Composite rename action", "MRVN global settings"}) {
        const auto action = registry.newActionForName(name, nullptr);
        EXPECT_FALSE(action) << name;
        EXPECT_EQ(action.messageIfFailed(), "Couldn't load new action from nib!");
    }
    EXPECT_EQ(log.lines.size(), 4u);
    // Every menu entry either has its class or fails the same way: never a stand-in.
    for (const auto& name : registry.nameArray()) {
        if (name.empty())
            continue;
        const auto action = registry.newActionForName(name, nullptr);
        if (action)
            EXPECT_EQ((*action)->actionName(), name);
        else
            EXPECT_FALSE(ActionFactory::hasClass(name)) << name;
    }
}

// The generated class table and the resources name the same actions: each class
// once, under the name it reports, with a parameter view and a menu entry; and
// each action with a view has its class, so a class left out of the table
// fails here, not in a user's chain.
TEST(Registry, TheClassTableAndTheResourcesAgree) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    ActionList registry(defaults);
    const std::vector<std::string> classes = ActionFactory::registeredNames();
    EXPECT_EQ(std::set<std::string>(classes.begin(), classes.end()).size(), classes.size());
    for (const auto& name : classes) {
        auto action = ActionFactory::create(name);
        ASSERT_TRUE(action) << name;
        EXPECT_EQ(action->actionName(), name);
        EXPECT_FALSE(registry.nibNameForActionName(name).empty()) << name;
        EXPECT_NE(registry.popUpMenuIndexForName(name), ActionList::kNotFound) << name;
    }
    for (const auto& name : registry.nameArray()) {
        if (!name.empty() && !registry.nibNameForActionName(name).empty()) {
            EXPECT_TRUE(ActionFactory::hasClass(name)) << name;
        }
    }
}

TEST(Registry, NewActionsStartFromTheLastSavedParametersAndAreObserved) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    ActionList registry(defaults);
    RecordingObserver owner;

    auto madeFirst = registry.newActionForName("Add to end", &owner);
    ASSERT_TRUE(madeFirst) << madeFirst.messageIfFailed();
    auto& first = *madeFirst;
    EXPECT_EQ(registry.lastActionToBeInitialized(), first.get());
    EXPECT_EQ(first->getParamString("string"), "");
    first->setValueForKey("string", plist::Value("_saved"));
    EXPECT_EQ(owner.count("string"), 1);
    registry.saveActionParametersToPreferences(*first);
    defaults.synchronize();

    // A second registry over a fresh reading of the domain sees the saved parameters.
    UserDefaults reread("net.halvard.mrvn7", dir.path());
    ActionList later(reread);
    auto madeSecond = later.newActionForName("Add to end", nullptr);
    ASSERT_TRUE(madeSecond) << madeSecond.messageIfFailed();
    auto& second = *madeSecond;
    EXPECT_EQ(second->getParamString("string"), "_saved");
}

TEST(Registry, DamagedSavedParametersFallBackToDefaults) {
    test::TempDir dir;
    UserDefaults defaults("net.halvard.mrvn7", dir.path());
    LogCapture log;
    for (const plist::Value& saved :
         {plist::Value("not a dictionary"),
          plist::Value(plist::Dictionary{{"Add to end", plist::Value(5)}}),
          plist::Value(plist::Dictionary{
              {"Add to end", plist::Value(plist::Dictionary{
                                 {"string", plist::Value(plist::Array{})},
                                 {"fragmentSelection", plist::Value("2 please")}})}})}) {
        defaults.setObject("actions", saved);
        ActionList registry(defaults);
        auto made = registry.newActionForName("Add to end", nullptr);
        ASSERT_TRUE(made) << made.messageIfFailed();
        auto& action = *made;
        InputContext input{"/f/x.txt", u"x.txt"};
        OutputContext output;
        action->executeWithInputContext(input, output); // no crash whatever was stored
        EXPECT_FALSE(output.newName.empty());
    }
}
