// The built host tessary-preferences with the built pane, on Qt's offscreen platform.
#include "tests/hotkey/ChildProcess.h"
#include "tests/prefpane/PaneTestSupport.h"

#include <filesystem>

using namespace tessary::test;
using namespace std::chrono_literals;
using tsyhotkey::test::ChildProcess;

namespace {

struct HostRun {
    std::optional<int> status;
    std::string output;
};

HostRun runHost(const PaneUser& user, const std::vector<std::string>& arguments) {
    std::vector<std::string> command{TESSARY_PREFERENCES};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const std::string output = user.root / "host-output";
    ChildProcess host(command, {"QT_QPA_PLATFORM=offscreen"}, output);
    HostRun run{host.waitForExit(60s), ""};
    run.output = pathExists(output) ? readFile(output) : "";
    return run;
}

} // namespace

TEST(PaneHost, DrivesThePanesEntryPointsInOrderAndTheRecordsAreSaved) {
    PaneUser user;
    user.installMorvane();
    const HostRun run = runHost(user, {"--trace", "--leave", TESSARY_PANE_BUNDLE});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "init\nmainViewDidLoad\nwillSelect\ndidSelect\nshouldUnselect\nwillUnselect\n");
    const Dictionary morvane = PaneUser::record("mrvn");
    EXPECT_EQ(morvane.size(), 4u);
    morvane::UserDefaults domain(tsyhotkey::kHotKeyDomain);
    EXPECT_TRUE(domain.hasStoredValue("launchAtLogin")) << "saved on leaving";
}

TEST(PaneHost, RefusesABundleWhosePlugInIsNotItsPrincipalClass) {
    PaneUser user;
    namespace fs = std::filesystem;
    const std::string copy = user.root / "Copy.prefPane";
    fs::create_directories(copy + "/Contents/bin");
    fs::copy(std::string(TESSARY_PANE_BUNDLE) + "/Contents/bin", copy + "/Contents/bin",
             fs::copy_options::recursive);
    std::string info = readFile(std::string(TESSARY_PANE_BUNDLE) + "/Contents/Info.plist");
    const std::string name = "NetHalvardTSYPreferencesPanePref";
    info.replace(info.find(name), name.size(), "SomeOtherPane");
    user.root.write("Copy.prefPane/Contents/Info.plist", info);

    struct Case {
        std::string bundle;
    } cases[] = {{copy}, {user.root / "Missing.prefPane"}};
    for (const Case& c : cases) {
        const HostRun run = runHost(user, {"--trace", "--leave", c.bundle});
        EXPECT_EQ(run.status, 1) << c.bundle;
        EXPECT_EQ(run.output, "") << "no entry point was called";
    }
}
