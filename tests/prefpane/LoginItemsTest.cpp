// Login items: the "loginwindow" domain and the autostart entries that mirror it.
#include "tests/prefpane/PaneTestSupport.h"

#include <filesystem>
#include <signal.h>

using namespace tessary::test;
using morvane::LoginItems;
using namespace std::chrono_literals;

TEST(LoginItems, TheDomainHoldsTheItemsAndEachHasAnAutostartEntry) {
    PaneUser user;
    struct Case {
        std::string path;
        std::string exec;
    } cases[] = {
        {"/opt/a b/Tool.app", "Exec=\"/opt/a b/Tool.app\""},
        {"/opt/say \"hi\" $HOME `x` 100%/T",
         "Exec=\"/opt/say \\\\\"hi\\\\\" \\\\$HOME \\\\`x\\\\` 100%%/T\""},
        {"/opt/back\\slash", "Exec=\"/opt/back\\\\\\\\slash\""},
    };
    LoginItems items;
    for (const Case& c : cases) {
        ASSERT_TRUE(items.add(c.path, true));
        const std::string entry = readFile(LoginItems::autostartFile(c.path));
        EXPECT_NE(entry.find(c.exec + "\n"), std::string::npos) << entry;
        EXPECT_NE(entry.find("X-Ossvale-Login-Item=true\n"), std::string::npos);
    }
    // A bundle starts its program.
    morvane::test::ComponentEnvironment::makeBundle(user.root / "B.app", "1", false, "true");
    items.add(user.root / "B.app", false);
    EXPECT_NE(readFile(LoginItems::autostartFile(user.root / "B.app"))
                  .find("Exec=\"" + user.root / "B.app/Contents/bin/B\"\n"),
              std::string::npos);

    morvane::UserDefaults domain("loginwindow");
    const auto stored = domain.objectForKey("AutoLaunchedApplicationDictionary");
    ASSERT_TRUE(stored && stored->asArray());
    ASSERT_EQ(stored->asArray()->size(), 4u);
    EXPECT_EQ(stored->asArray()->front(),
              Value(Dictionary{{"Hide", Value(1)}, {"Path", Value(cases[0].path)}}));

    const std::string foreign = user.root.write("config/autostart/ossvale-mine.desktop", "[x]\n");
    ASSERT_TRUE(items.removeContaining("/opt/"));
    EXPECT_EQ(PaneUser::loginItemPaths(), std::vector<std::string>{user.root / "B.app"});
    EXPECT_EQ(PaneUser::autostartEntries().size(), 2u) << "B.app's and the foreign entry";
    EXPECT_TRUE(pathExists(foreign)) << "an entry not written here is never removed";
}

TEST(LoginItems, APathWithAControlCharacterGetsNoEntry) {
    PaneUser user;
    LoginItems items;
    ASSERT_TRUE(items.add("/opt/two\nlines", true));
    EXPECT_EQ(PaneUser::loginItemPaths().size(), 1u);
    EXPECT_TRUE(PaneUser::autostartEntries().empty());
}

TEST(Workspace, TerminateApplicationEndsOnlyTheBundlesPrograms) {
    PaneUser user;
    namespace fs = std::filesystem;
    const std::string inside = user.root / "Tambrel.app/Contents/bin/sleep";
    const std::string outside = user.root / "Other.app/Contents/bin/sleep";
    for (const std::string& copy : {inside, outside}) {
        fs::create_directories(fs::path(copy).parent_path());
        fs::copy_file("/bin/sleep", copy);
    }
    tsyhotkey::test::ChildProcess tambrel({inside, "30"});
    tsyhotkey::test::ChildProcess other({outside, "30"});
    ASSERT_TRUE(tsyhotkey::test::waitUntil(
        [&] {
            std::error_code error;
            return fs::read_symlink("/proc/" + std::to_string(other.pid()) + "/exe", error) ==
                   outside;
        },
        5s));
    EXPECT_TRUE(morvane::Workspace::terminateApplication(user.root / "Tambrel.app"));
    EXPECT_TRUE(tambrel.waitForExit(5s).has_value());
    EXPECT_FALSE(other.waitForExit(300ms).has_value()) << "another bundle's program runs on";
    other.signal(SIGTERM);
    EXPECT_TRUE(morvane::Workspace::terminateApplication(user.root / "Missing.app"));
}
