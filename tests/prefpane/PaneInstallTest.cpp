// Installing, upgrading and removing the hot-key program from the pane, with
// its login items and their autostart entries.
#include "tests/prefpane/PaneTestSupport.h"

#include <filesystem>

using namespace tessary;
using namespace tessary::test;
using namespace std::chrono_literals;

namespace {

// Every file below folder (folders left out), relative to it.
std::vector<std::string> filesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (!entry.is_directory())
            files.push_back(std::filesystem::relative(entry.path(), folder).string());
    return files;
}

std::string installedMarker() {
    return readFile(PaneController::installedHotKeyPath() + "/Contents/Resources/marker");
}

} // namespace

TEST_F(PaneTest, InstallThenUninstallLeavesNothingBehind) {
    installMorvane();
    controller->willSelect();
    controller->installHotKey();
    EXPECT_EQ(alerts.titles(),
              std::vector<std::string>{"Hot key component successfully installed."});
    EXPECT_TRUE(controller->hotKeyIsInstalled()) << "willSelect ran again";
    EXPECT_EQ(installedMarker(), "70506");
    EXPECT_TRUE(startedWithin(5s)) << "the installed program was opened";
    EXPECT_EQ(loginItemPaths(), std::vector<std::string>{PaneController::installedHotKeyPath()});
    const std::string entry =
        morvane::LoginItems::autostartFile(PaneController::installedHotKeyPath());
    ASSERT_EQ(autostartEntries().size(), 1u);
    const std::string desktop = readFile(entry);
    EXPECT_NE(desktop.find("Exec=\"" + PaneController::installedHotKeyPath() +
                           "/Contents/bin/TSY HotKey\"\n"),
              std::string::npos)
        << desktop;

    alerts.alerts.clear();
    controller->uninstallHotKey();
    EXPECT_EQ(alerts.titles(), (std::vector<std::string>{
                                   "Are you sure that you want to uninstall the Hot Key component?",
                                   "Hot Key Component was successfully removed."}));
    EXPECT_EQ(alerts.alerts[0].buttons, (std::vector<std::string>{"Uninstall", "Cancel"}));
    EXPECT_NE(callsMade().find("quit"), std::string::npos) << "the quit script ran";
    EXPECT_FALSE(controller->hotKeyIsInstalled());
    EXPECT_EQ(filesBelow(dataHomeFolder()), std::vector<std::string>{});
    EXPECT_TRUE(loginItemPaths().empty());
    EXPECT_TRUE(autostartEntries().empty());
}

TEST_F(PaneTest, CancellingTheUninstallChangesNothing) {
    installMorvane();
    controller->willSelect();
    controller->installHotKey();
    alerts.answers = {AlertAnswer::Second};
    controller->uninstallHotKey();
    EXPECT_TRUE(pathExists(PaneController::installedHotKeyPath()));
    EXPECT_EQ(loginItemPaths().size(), 1u);

    installInSupport("Tambrel.app");
    alerts.answers = {AlertAnswer::First}; // "Cancel Uninstall"
    alerts.alerts.clear();
    controller->uninstallHotKey();
    ASSERT_EQ(alerts.alerts.size(), 1u);
    EXPECT_EQ(alerts.alerts[0].title, "Tambrel will become inoperable if you choose to continue.");
    EXPECT_EQ(alerts.alerts[0].style, AlertStyle::Critical);
    EXPECT_TRUE(pathExists(PaneController::installedHotKeyPath()));
}

TEST_F(PaneTest, UninstallRemovesBothLocationsAndLoginItemsEvenWhenQuittingFails) {
    makePane("70506", 1); // the quit script fails: no program was running
    installInSupport("Tambrel.app");
    morvane::test::ComponentEnvironment::makeBundle(PaneController::oldHotKeyPath(), "100");
    morvane::test::ComponentEnvironment::makeBundle(PaneController::installedHotKeyPath(), "70506");
    morvane::LoginItems items;
    items.add(PaneController::installedHotKeyPath(), true);
    items.add(PaneController::tambrelPath(), true);
    items.add(root / "Applications/Other.app", false);
    ASSERT_EQ(autostartEntries().size(), 3u);
    const std::string unrelated = root.write("config/autostart/someone-else.desktop", "x");

    alerts.answers = {AlertAnswer::Second}; // "Uninstall Anyway"
    controller->willSelect();
    controller->uninstallHotKey();
    EXPECT_EQ(alerts.titles()[1], "Hot Key Component was successfully removed.");
    EXPECT_EQ(callsMade(), "quit\n");
    EXPECT_FALSE(pathExists(PaneController::oldHotKeyPath()));
    EXPECT_FALSE(pathExists(PaneController::installedHotKeyPath()));
    EXPECT_EQ(loginItemPaths(), std::vector<std::string>{root / "Applications/Other.app"});
    EXPECT_EQ(autostartEntries().size(), 2u) << "Other.app's and the unrelated entry";
    EXPECT_TRUE(pathExists(unrelated));
}

TEST_F(PaneTest, AnOlderInstalledHotKeyProgramIsUpgraded) {
    installMorvane();
    morvane::test::ComponentEnvironment::makeBundle(PaneController::installedHotKeyPath(), "70400");
    morvane::LoginItems().add(PaneController::installedHotKeyPath(), true);
    controller->willSelect();
    controller->didSelect();
    EXPECT_EQ(alerts.titles(),
              (std::vector<std::string>{"A newer version of the hot key component was found.",
                                        "Hot key component successfully installed."}));
    EXPECT_EQ(installedMarker(), "70506");
    EXPECT_TRUE(startedWithin(5s));
    EXPECT_EQ(callsMade().substr(0, 5), "quit\n") << "quit before the replacement";
    EXPECT_EQ(loginItemPaths(), std::vector<std::string>{PaneController::installedHotKeyPath()});

    alerts.alerts.clear();
    controller->didSelect();
    EXPECT_TRUE(alerts.alerts.empty()) << "the same version is left alone";
}

TEST_F(PaneTest, AnOldIncompatibleComponentIsRemoved) {
    morvane::test::ComponentEnvironment::makeBundle(PaneController::oldHotKeyPath(), "100");
    controller->willSelect();
    controller->didSelect();
    EXPECT_EQ(alerts.titles(),
              (std::vector<std::string>{"Incompatible old hot key component was found.",
                                        "The old hot key component was successfully removed."}));
    EXPECT_FALSE(pathExists(PaneController::oldHotKeyPath()));
    EXPECT_EQ(callsMade(), "quit\n");
}

TEST_F(PaneTest, TambrelSuggestionIsAskedOncePerShowingAndInstalls) {
    installInSupport("Tambrel.app");
    controller->willSelect();
    alerts.answers = {AlertAnswer::Second};
    controller->didSelect();
    EXPECT_EQ(alerts.titles(), std::vector<std::string>{"Tambrel is installed, but not operable."});
    EXPECT_EQ(alerts.alerts[0].buttons,
              (std::vector<std::string>{"Install Required Components", "Do Not Install"}));
    EXPECT_NE(alerts.alerts[0].text.find("F1"), std::string::npos);
    EXPECT_TRUE(controller->declinedTambrelSuggestion());
    controller->willSelect();
    controller->didSelect();
    EXPECT_EQ(alerts.alerts.size(), 1u) << "declined until the pane is left";

    controller->shouldUnselect();
    controller->willUnselect();
    alerts.alerts.clear();
    controller->willSelect();
    controller->didSelect();
    EXPECT_EQ(alerts.titles(),
              (std::vector<std::string>{"Tambrel is installed, but not operable.",
                                        "Additional components successfully installed."}));
    EXPECT_TRUE(controller->hotKeyIsInstalled());
    EXPECT_EQ(loginItemPaths(), (std::vector<std::string>{PaneController::installedHotKeyPath(),
                                                          PaneController::tambrelPath()}));
}

TEST_F(PaneTest, AFailedCopyIsReportedAsAnInstallationFailure) {
    std::filesystem::remove_all(resources() + "/TSY HotKey.app");
    controller->willSelect();
    controller->installHotKey();
    EXPECT_EQ(alerts.titles(), std::vector<std::string>{"Installation failure."});
    EXPECT_FALSE(controller->hotKeyIsInstalled());
}

TEST_F(PaneTest, HelpOpensTheHelpPage) {
    controller->showHotKeyHelp();
    EXPECT_EQ(alerts.helpPages, std::vector<std::string>{PaneController::kHelpAddress});
}
