// A droplet is also a saved command: `morvane-cli rename --chain DROPLET FILES`
// renames as the droplet does, with its chain and its global settings.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MainController.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/FakePort.h"
#include "tests/support/FakeTimer.h"

#include <cstdlib>
#include <filesystem>

using namespace morvane;
using namespace morvane::test;

namespace {
// A droplet made by the application, from the built template.
std::string makeDroplet(const std::string& path) {
    TempDir resources{"resources"};
    std::filesystem::create_directories(resources / "Components");
    std::filesystem::copy(std::string(MORVANE_BINARY_DIR) +
                              "/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app",
                          resources / "Components/Tessary Droplet.app",
                          std::filesystem::copy_options::recursive);
    setenv("MORVANE_BUNDLE_RESOURCES", resources.path().c_str(), 1);
    TempDir settings{"settings"};
    UserDefaults defaults("net.halvard.mrvn7", settings.path());
    ActionList registry(defaults);
    FakePort port;
    FakeTimer timer;
    MainController controller(port, defaults, registry, &timer);
    controller.setApplicationLocation("/nonexistent/Morvane 7.app");
    controller.applicationDidFinishLaunching();
    plist::Array steps{
        plist::Dictionary{{"action name", "Add to front"},
                          {"action parameter list", plist::Dictionary{{"string", "d_"}}}}};
    EXPECT_TRUE(controller.compositeAction().setFlatParameterList(
        plist::Dictionary{{"currentActionIndex", 0}, {"composite actions array", steps}}));
    // Only the items inside the folders dropped, not the folders.
    controller.globalSettings().setParameterList(
        {{"processFolders", 0}, {"processSubfolders", 1}, {"interactiveMode", 1}});
    port.dontShowAgainAnswers.push_back({1, false});
    port.bundleSavePanelAnswers.push_back(path);
    controller.createDroplet();
    unsetenv("MORVANE_BUNDLE_RESOURCES");
    return path;
}
} // namespace

TEST_F(CliTest, ADropletRenamesFromTheCommandLineWithItsChainAndItsGlobalSettings) {
    files({"photos/Alps.JPG", "photos/Beach.JPG"});
    const std::string droplet = makeDroplet(home / "Rename Photos.app");
    ASSERT_TRUE(std::filesystem::exists(droplet + "/Contents/Resources/Settings.plist"));
    // Without --interactive nothing is asked, whatever the droplet's own setting.
    const CliResult result = home.run({"rename", "--chain", droplet, home / "photos"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(folderNames(home / "photos"),
              (std::vector<std::string>{"d_Alps.JPG", "d_Beach.JPG"}));
}
