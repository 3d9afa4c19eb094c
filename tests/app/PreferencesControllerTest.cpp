// The preferences window's logic against a scripted user and a window that
// records what it is told to show; components are stand-in bundles.
#include "MRVN7x/app/PreferencesController.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "tests/support/ComponentEnvironment.h"
#include "tests/support/FakePort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace morvane;

namespace {
// Counts restarts instead of restarting a file manager.
struct CountingManager : MRVNInstallationManager {
    int restarts = 0;
    bool restartSucceeds = true;
    bool restartFinder() override {
        ++restarts;
        return restartSucceeds;
    }
};

struct RecordingView : PreferencesView {
    std::vector<PreferencesControls> shown;
    bool ended = false;
    void showControls(const PreferencesControls& controls) override { shown.push_back(controls); }
    void endModal() override { ended = true; }
};

struct Port : test::FakePort {
    std::function<void(PreferencesController&)> user;
    void runPreferencesWindow(PreferencesController& controller) override { user(controller); }
};

struct Opening {
    test::ComponentEnvironment env;
    Port port;
    CountingManager* manager = nullptr;
    std::unique_ptr<PreferencesController> controller;
    RecordingView view;

    explicit Opening(bool contextMenuInstalled = false, bool paneInstalled = false) {
        const std::string components = env.resources() + "/Components";
        test::ComponentEnvironment::makeBundle(components + "/Tessary Context Menu.plugin", "1");
        test::ComponentEnvironment::makeBundle(components + "/Tessary Preferences.prefPane", "1");
        open(contextMenuInstalled, paneInstalled);
    }
    void open(bool contextMenuInstalled, bool paneInstalled) {
        CountingManager setup;
        if (contextMenuInstalled)
            setup.installContextMenu();
        if (paneInstalled)
            setup.installPrefPane();
        auto made = std::make_unique<CountingManager>();
        manager = made.get();
        controller = std::make_unique<PreferencesController>(port, std::move(made));
        controller->windowDidLoad(view);
    }
};

using Command = void (PreferencesController::*)();
} // namespace

TEST(PreferencesController, RestartIsOfferedOnlyWhenTheContextMenuEndsChanged) {
    const Command install = &PreferencesController::installContextMenu;
    const Command remove = &PreferencesController::uninstallContextMenu;
    struct Case {
        const char* name;
        bool installedAtStart;
        std::vector<Command> commands;
        std::deque<int> answers; // to the alerts, in order
        bool restartSucceeds;
        std::vector<std::string> alerts;
        int restarts;
    };
    const std::string ask = InstallationManager::kRestartTitle;
    const std::string failed = InstallationManager::kRestartFailedTitle;
    const Case cases[] = {
        {"nothing done", false, {}, {}, true, {}, 0},
        {"installed and removed", false, {install, remove}, {}, true, {}, 0},
        {"removed and installed", true, {remove, install}, {}, true, {}, 0},
        {"installed, yes", false, {install}, {1}, true, {ask}, 1},
        {"removed, no", true, {remove}, {0}, true, {ask}, 0},
        {"installed, yes, restart fails", false, {install}, {1, 1}, false, {ask, failed}, 1},
        {"pane installed only",
         false,
         {&PreferencesController::installSystemPreferences},
         {},
         true,
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Opening o(c.installedAtStart);
        o.manager->restartSucceeds = c.restartSucceeds;
        o.port.alertAnswers = c.answers;
        for (Command command : c.commands)
            ((*o.controller).*command)();
        o.controller->ok();
        EXPECT_EQ(o.port.alertTitles(), c.alerts);
        EXPECT_EQ(o.manager->restarts, c.restarts);
        EXPECT_TRUE(o.view.ended);
        EXPECT_TRUE(o.port.unexpected.empty());
    }
    Opening o;
    o.port.alertAnswers = {0};
    o.controller->installContextMenu();
    o.controller->ok();
    ASSERT_EQ(o.port.alerts.size(), 1u);
    const Alert& alert = o.port.alerts[0];
    EXPECT_EQ(alert.text, InstallationManager::kRestartText);
    EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Yes", "No"}));
}

TEST(PreferencesController, ButtonsFollowTheDiskAfterEveryCommand) {
    auto controls = [](bool contextMenu, bool pane) {
        PreferencesControls c;
        c.contextMenuInstall = !contextMenu;
        c.contextMenuUninstall = contextMenu;
        c.prefPaneInstall = !pane;
        c.prefPaneOpen = pane;
        c.prefPaneUninstall = pane;
        return c;
    };
    struct Step {
        Command command;
        bool contextMenu, pane;
    };
    const Step steps[] = {
        {&PreferencesController::installSystemPreferences, false, true},
        {&PreferencesController::installContextMenu, true, true},
        {&PreferencesController::uninstallSystemPreferences, true, false},
        {&PreferencesController::uninstallContextMenu, false, false},
    };
    Opening o;
    ASSERT_EQ(o.view.shown.size(), 1u);
    EXPECT_EQ(o.view.shown.back(), controls(false, false));
    for (const Step& step : steps) {
        ((*o.controller).*step.command)();
        // Shown at once, and true to the disk.
        EXPECT_EQ(o.view.shown.back(), controls(step.contextMenu, step.pane));
        EXPECT_EQ(o.manager->isPrefPaneInstalled(), step.pane);
        EXPECT_EQ(o.manager->isContextMenuInstalled(), step.contextMenu);
    }
    EXPECT_TRUE(o.port.alerts.empty());

    Opening installed(true, true);
    EXPECT_EQ(installed.view.shown.back(), controls(true, true));
}

TEST(PreferencesController, FailuresAreReportedAndTheButtonsStay) {
    Opening o;
    std::filesystem::remove_all(o.env.resources() + "/Components");
    o.controller->installContextMenu();
    o.controller->installSystemPreferences();
    EXPECT_EQ(o.port.alertTitles(),
              (std::vector<std::string>{"The contextual menu component could not be installed.",
                                        "The preference pane could not be installed."}));
    EXPECT_TRUE(o.view.shown.back().contextMenuInstall);
    EXPECT_TRUE(o.view.shown.back().prefPaneInstall);

    // No preferences host is installed beside the test program.
    Opening pane(false, true);
    pane.controller->launchSystemPreferences();
    EXPECT_EQ(pane.port.alertTitles(),
              std::vector<std::string>{"The preference pane could not be opened."});
}

TEST(PreferencesController, FadeOutBoxIsStoredByOkWithoutNotifying) {
    struct CountingObserver : KeyValueObserver {
        int calls = 0;
        void observeValueForKey(const std::string&, BaseAction&, const std::optional<plist::Value>&,
                                const std::optional<plist::Value>&) override {
            ++calls;
        }
    } observer;
    for (const bool stored : {true, false}) {
        Opening o;
        auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
        settings->setUseFadeOutEffect(stored);
        settings->registerObserverForAllValues(&observer);
        o.controller->setGlobalPreferencesAction(*settings);
        EXPECT_EQ(o.view.shown.back().useFadeOutEffect, stored);
        o.controller->setUseFadeOutEffectBox(!stored);
        // A command refreshes the buttons but keeps the box as the user left it.
        o.controller->installSystemPreferences();
        EXPECT_EQ(o.view.shown.back().useFadeOutEffect, !stored);
        EXPECT_EQ(settings->shouldUseFadeOutEffect(), stored); // not before OK
        o.controller->ok();
        EXPECT_EQ(settings->shouldUseFadeOutEffect(), !stored);
        settings->removeObserver(&observer);
    }
    EXPECT_EQ(observer.calls, 0);
}

TEST(PreferencesController, RunShowsTheWindowThroughThePort) {
    Opening o;
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    o.controller->setGlobalPreferencesAction(*settings);
    bool shown = false;
    o.port.user = [&](PreferencesController& controller) {
        shown = &controller == o.controller.get();
        controller.setUseFadeOutEffectBox(false);
        controller.ok();
    };
    o.controller->run();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(settings->shouldUseFadeOutEffect());
}
