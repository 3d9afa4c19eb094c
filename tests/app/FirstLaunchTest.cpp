// The launch procedure over stand-in bundles in a private home: what a second
// launch leaves alone, what a first launch resets and installs, the old
// installation's removal and the upgrade of an older installed component.
#include "MRVN7x/app/FirstLaunchManager.h"
#include "platform/UserDefaults.h"
#include "tests/support/ComponentEnvironment.h"
#include "tests/support/ContextMenuHome.h"
#include "tests/support/FakePort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace morvane;
namespace fs = std::filesystem;

namespace {
struct CountingManager : MRVNInstallationManager {
    int* restarts;
    explicit CountingManager(int* count) : restarts(count) {}
    bool restartFinder() override {
        ++*restarts;
        return true;
    }
};

struct Port : test::FakePort {
    std::optional<ComponentChoices> choices; // nothing: the window must not show
    int setupWindows = 0;
    ComponentChoices runComponentSetupWindow() override {
        ++setupWindows;
        if (!choices)
            unexpected.push_back("Component Setup");
        return choices.value_or(ComponentChoices{});
    }
};

struct Launch {
    test::ComponentEnvironment env;
    test::TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    Port port;
    int restarts = 0;
    std::string components = env.resources() + "/Components";

    Launch() {
        test::ComponentEnvironment::makeBundle(components + "/Tessary Context Menu.plugin", "2");
        test::ComponentEnvironment::makeBundle(components + "/Tessary Preferences.prefPane", "2");
    }
    FirstLaunchManager run() {
        FirstLaunchManager manager(defaults, port, "/opt/Morvane 7.app",
                                   std::make_unique<CountingManager>(&restarts));
        manager.doIt();
        return manager;
    }
    std::string installed(const char* relative) { return env.dataHome() + "/" + relative; }
    static constexpr const char* menu = "Ossvale/Contextual Menu Items/Tessary Context Menu.plugin";
    static constexpr const char* pane = "Ossvale/PreferencePanes/Tessary Preferences.prefPane";
};
} // namespace

TEST(FirstLaunch, ASecondLaunchChangesNothingButTheLocation) {
    Launch l;
    l.defaults.setObject("firstLaunchVersion", plist::Value(75600));
    l.defaults.setObject("actions", plist::Value("kept"));
    l.defaults.setObject("location", plist::Value("/old/place.app"));
    l.defaults.synchronize();
    EXPECT_FALSE(l.run().isFirstLaunch());
    EXPECT_EQ(l.port.setupWindows, 0);
    EXPECT_TRUE(l.port.alerts.empty());
    const plist::Dictionary expected{{"firstLaunchVersion", plist::Value(75600)},
                                     {"actions", plist::Value("kept")},
                                     {"location", plist::Value("/opt/Morvane 7.app")}};
    EXPECT_EQ(UserDefaults("net.halvard.mrvn7", l.settings.path()).storedValues(), expected);
}

TEST(FirstLaunch, TheChoicesDecideTheComponentsAndTheRestartOffer) {
    struct Case {
        const char* name;
        bool menuBefore, paneBefore;
        ComponentChoices choices;
        bool menuAfter, paneAfter;
        int restartOffers;
    };
    const Case cases[] = {
        {"both declined, none installed", false, false, {false, false}, false, false, 0},
        {"context menu installed", false, false, {true, false}, true, false, 1},
        {"only the pane installed", false, false, {false, true}, false, true, 0},
        {"context menu removed", true, false, {false, false}, false, false, 1},
        {"both kept", true, true, {true, true}, true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Launch l;
        if (c.menuBefore)
            l.env.makeBundle(l.installed(Launch::menu), "2");
        if (c.paneBefore)
            l.env.makeBundle(l.installed(Launch::pane), "2");
        l.defaults.setObject("actions", plist::Value("from an older version"));
        l.defaults.synchronize();
        l.port.choices = c.choices;
        l.port.alertAnswers = {1}; // "Yes" to the restart
        const auto before = test::snapshot(l.env.home.path());
        EXPECT_TRUE(l.run().isFirstLaunch());
        // Choices that match what is installed touch nothing in the home.
        if (c.menuBefore == c.menuAfter && c.paneBefore == c.paneAfter) {
            EXPECT_EQ(test::snapshot(l.env.home.path()), before);
        }
        EXPECT_EQ(fs::exists(l.installed(Launch::menu)), c.menuAfter);
        EXPECT_EQ(fs::exists(l.installed(Launch::pane)), c.paneAfter);
        EXPECT_EQ(l.port.alerts.size(), size_t(c.restartOffers));
        EXPECT_EQ(l.restarts, c.restartOffers);
        // The settings start afresh: only this version's marker is left.
        const plist::Dictionary expected{{"firstLaunchVersion", plist::Value(75600)}};
        EXPECT_EQ(UserDefaults("net.halvard.mrvn7", l.settings.path()).storedValues(), expected);
        EXPECT_TRUE(l.port.unexpected.empty());
    }
}

TEST(FirstLaunch, TheLocationRemovedAtAFirstLaunchIsWrittenAgainAtTheNext) {
    Launch l;
    l.port.choices = ComponentChoices{};
    l.run();
    EXPECT_FALSE(l.defaults.objectForKey("location"));
    l.port.choices.reset();
    EXPECT_FALSE(l.run().isFirstLaunch());
    EXPECT_EQ(*l.defaults.objectForKey("location"), plist::Value("/opt/Morvane 7.app"));
}

TEST(FirstLaunch, AnOldInstallationIsRemovedFirstWithoutFollowingLinks) {
    Launch l;
    const std::string plugin = l.installed("Ossvale/Contextual Menu Items/MorvaneAppCM.plugin");
    fs::create_directories(plugin + "/Contents");
    test::TempDir outside("outside");
    std::ofstream(outside.path() + "/keep") << "x";
    fs::create_directory_symlink(outside.path(), plugin + "/Contents/link");
    l.port.choices = ComponentChoices{};
    l.port.alertAnswers = {1};
    l.run();
    ASSERT_FALSE(l.port.alerts.empty());
    EXPECT_EQ(l.port.alerts[0].title, "Incompatible old version of Morvane found.");
    EXPECT_EQ(l.port.alerts[0].buttons, std::vector<std::string>{"Remove Old Components"});
    EXPECT_FALSE(fs::exists(plugin));
    EXPECT_TRUE(fs::exists(outside.path() + "/keep"));
}

TEST(FirstLaunch, AnOlderInstalledComponentIsUpgradedAtAnyLaunch) {
    Launch l;
    l.defaults.setObject("firstLaunchVersion", plist::Value(75600));
    l.env.makeBundle(l.installed(Launch::pane), "1");
    l.port.alertAnswers = {1};
    l.run();
    EXPECT_EQ(l.port.alertTitles(),
              std::vector<std::string>{"System Preferences Pane Component needs updating."});
    EXPECT_EQ(test::readFile(l.installed(Launch::pane) + "/Contents/Resources/marker"), "2");
    EXPECT_EQ(l.restarts, 0); // not offered after a launch that is not a first one
}
