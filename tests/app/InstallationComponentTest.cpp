// Companion components copied from the application's resources into the
// user's folders: stand-in bundles in a private home and resource folder.
#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"
#include "platform/Bundle.h"
#include "platform/FileManagerRestart.h"
#include "platform/ScriptRunner.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"
#include "platform/XdgPaths.h"
#include "tests/support/ComponentEnvironment.h"
#include "tests/support/FakePort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>

using namespace morvane;
namespace fs = std::filesystem;

namespace {
constexpr const char* kPlugin = "Components/Stand-in.plugin";

struct Installed {
    test::ComponentEnvironment env;
    InstallationComponent component;
    std::string location() const { return env.dataHome() + "/Ossvale/Contextual Menu Items"; }
    std::string installed() const { return location() + "/Stand-in.plugin"; }
    std::string source() const { return env.resources() + "/" + kPlugin; }

    Installed() {
        component.setInstallationLocation("~/Library/Contextual Menu Items");
        component.setLocationWithinResourceBundle(kPlugin);
    }
    std::string installedMarker() const {
        return test::readFile(installed() + "/Contents/Resources/marker");
    }
};

unsigned modeOf(const std::string& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Until the file holds a whole line: the shell that writes it makes it
// empty first, and a loaded machine may read it in between.
bool waitForFile(const std::string& path) {
    const auto written = [&path] {
        return test::pathExists(path) && test::readFile(path).ends_with('\n');
    };
    for (int i = 0; i < 100 && !written(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return written();
}
} // namespace

TEST(InstallationComponent, VersionsDecideTheUpgrade) {
    struct Case {
        const char* name;
        const char* installedVersion; // nullptr: not installed; "file": a plain file
        const char* sourceVersion;    // nullptr: missing from the resources
        bool sourceAsInteger;
        bool installed, needsUpgrading;
        std::string error;
    };
    const Case cases[] = {
        {"not installed", nullptr, "5", false, false, false, ""},
        {"older installed", "3", "5", false, true, true, ""},
        {"same version", "5", "5", false, true, false, ""},
        {"newer installed", "7", "5", false, true, false, ""},
        {"numbers, not texts, compared", "9", "10", true, true, true, ""},
        {"no version counts as 0", "", "1", false, true, true, ""},
        {"copy missing", "3", nullptr, false, true, false, InstallationComponent::kSourceNotFound},
        {"installed item no bundle", "file", "5", false, true, false,
         InstallationComponent::kInstalledNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Installed t;
        std::vector<std::string> logged;
        SystemLog::setSink(
            [&](SystemLog::Level, const std::string& line) { logged.push_back(line); });
        if (c.sourceVersion)
            test::ComponentEnvironment::makeBundle(t.source(), c.sourceVersion, c.sourceAsInteger);
        if (c.installedVersion && std::string(c.installedVersion) == "file")
            t.env.home.write(t.installed().substr(t.env.home.path().size() + 1), "x");
        else if (c.installedVersion)
            test::ComponentEnvironment::makeBundle(t.installed(), c.installedVersion);
        EXPECT_EQ(t.component.isAlreadyInstalled(), c.installed);
        const auto older = t.component.needsUpgrading();
        EXPECT_EQ(older.ok() && *older, c.needsUpgrading);
        EXPECT_EQ(older.messageIfFailed(), c.error);
        if (!c.error.empty()) {
            EXPECT_NE(std::find(logged.begin(), logged.end(), c.error), logged.end());
        }
        SystemLog::setSink({});
        if (!c.needsUpgrading)
            continue;
        EXPECT_TRUE(t.component.performUpgrade());
        EXPECT_EQ(t.installedMarker(), c.sourceVersion);
        const auto after = t.component.needsUpgrading();
        ASSERT_TRUE(after) << after.messageIfFailed();
        EXPECT_FALSE(*after);
    }
}

TEST(InstallationComponent, InstallsACopyIntoNewFoldersThatOthersCannotWrite) {
    Installed t;
    test::ComponentEnvironment::makeBundle(t.source(), "4");
    const mode_t old = umask(0);
    const bool installed = t.component.install();
    umask(old);
    ASSERT_TRUE(installed);
    EXPECT_TRUE(t.component.isAlreadyInstalled());
    EXPECT_EQ(t.installedMarker(), "4");
    EXPECT_EQ(t.component.installationLocation(), t.location());
    // Even with no umask, neither new folder is writable by others.
    EXPECT_EQ(modeOf(t.location()), 0755u);
    EXPECT_EQ(modeOf(t.env.dataHome() + "/Ossvale"), 0755u);
    // Nothing but the component is left in the location.
    EXPECT_EQ(std::distance(fs::directory_iterator(t.location()), fs::directory_iterator()), 1);

    // A second install never copies over what is there.
    test::ComponentEnvironment::makeBundle(t.source(), "6");
    EXPECT_FALSE(t.component.install());
    EXPECT_EQ(t.installedMarker(), "4");
}

TEST(InstallationComponent, AFailedCopyLeavesNothingThatLooksInstalled) {
    Installed t;
    test::ComponentEnvironment::makeBundle(t.source(), "4");
    // A named pipe cannot be copied: the copy fails halfway through.
    ASSERT_EQ(mkfifo((t.source() + "/Contents/Resources/pipe").c_str(), 0644), 0);
    EXPECT_FALSE(t.component.install());
    EXPECT_FALSE(t.component.isAlreadyInstalled());
    EXPECT_EQ(std::distance(fs::directory_iterator(t.location()), fs::directory_iterator()), 0);

    Installed missing;
    EXPECT_FALSE(missing.component.install());
    EXPECT_FALSE(missing.component.isAlreadyInstalled());
}

TEST(InstallationComponent, UninstallRemovesExactlyTheItemAndFollowsNoLink) {
    Installed t;
    test::ComponentEnvironment::makeBundle(t.source(), "4");
    ASSERT_TRUE(t.component.install());
    const std::string neighbour = t.env.home.write(".local/share/Ossvale/Contextual Menu Items/"
                                                   "Other.plugin/keep",
                                                   "other");
    const std::string outside = t.env.home.write("Documents/precious.txt", "precious");
    fs::create_directory_symlink(t.env.home / "Documents", t.installed() + "/Contents/link");
    fs::create_symlink(outside, t.installed() + "/Contents/file-link");

    EXPECT_TRUE(t.component.uninstall());
    EXPECT_FALSE(t.component.isAlreadyInstalled());
    EXPECT_FALSE(test::pathExists(t.installed()));
    EXPECT_EQ(test::readFile(neighbour), "other");
    EXPECT_EQ(test::readFile(outside), "precious");
    // Removing what is not there succeeds.
    EXPECT_TRUE(t.component.uninstall());
}

TEST(InstallationComponent, ALocationThatNamesNoItemNeverRemovesTheFolder) {
    for (const char* relative : {"", ".", "Components/..", "/"}) {
        SCOPED_TRACE(relative);
        Installed t;
        const std::string kept = t.env.home.write(
            ".local/share/Ossvale/Contextual Menu Items/Other.plugin/keep", "kept");
        t.component.setLocationWithinResourceBundle(relative);
        EXPECT_EQ(t.component.installedPath(), "");
        EXPECT_FALSE(t.component.isAlreadyInstalled());
        EXPECT_TRUE(t.component.uninstall());
        EXPECT_FALSE(t.component.install());
        EXPECT_EQ(test::readFile(kept), "kept");
    }
    Installed t;
    t.component.setLocationWithinResourceBundle("Components/Stand-in.plugin/");
    EXPECT_EQ(t.component.installedPath(), t.installed());
}

TEST(InstallationComponent, ABundleOfItsOwnCarriesTheComponent) {
    Installed t;
    const std::string pane = t.env.home / "Stand-in.prefPane";
    test::ComponentEnvironment::makeBundle(pane + "/Contents/Resources/Tool.app", "2");
    t.component.setBundle(pane);
    t.component.setLocationWithinResourceBundle("Tool.app");
    EXPECT_EQ(t.component.sourcePath(), pane + "/Contents/Resources/Tool.app");
    ASSERT_TRUE(t.component.install());
    EXPECT_EQ(test::readFile(t.location() + "/Tool.app/Contents/Resources/marker"), "2");
}

TEST(InstallationComponent, LaunchStartsTheInstalledProgram) {
    Installed t;
    const std::string started = t.env.home / "started";
    t.component.setLocationWithinResourceBundle("Components/Tool.app");
    test::ComponentEnvironment::makeBundle(t.env.resources() + "/Components/Tool.app", "1", false,
                                           "echo \"$0\" > '" + started + "'");
    EXPECT_FALSE(t.component.launch()); // not installed yet
    ASSERT_TRUE(t.component.install());
    ASSERT_TRUE(t.component.launch());
    ASSERT_TRUE(waitForFile(started));
    EXPECT_EQ(test::readFile(started), t.location() + "/Tool.app/Contents/bin/Tool\n");

    // A bundle without its program cannot be launched, and says so.
    Installed empty;
    empty.component.setLocationWithinResourceBundle("Components/Empty.app");
    test::ComponentEnvironment::makeBundle(empty.env.resources() + "/Components/Empty.app", "1");
    ASSERT_TRUE(empty.component.install());
    EXPECT_FALSE(empty.component.launch());
    EXPECT_FALSE(Workspace::openFile(empty.env.home / "missing.prefPane"));
}

TEST(MRVNInstallationManager, ComponentsComeFromTheResourcesAndGoToTheDataFolder) {
    test::ComponentEnvironment env;
    MRVNInstallationManager manager;
    const std::string ossvale = env.dataHome() + "/Ossvale";
    const std::string components = env.resources() + "/Components";
    struct Case {
        const InstallationComponent& component;
        std::string location, source;
    };
    const Case cases[] = {
        {manager.contextMenuComponent(), ossvale + "/Contextual Menu Items",
         components + "/Tessary Context Menu.plugin"},
        {manager.prefPaneComponent(), ossvale + "/PreferencePanes",
         components + "/Tessary Preferences.prefPane"},
        {manager.hotKeyComponent(), ossvale,
         components + "/Tessary Preferences.prefPane/Contents/Resources/TSY HotKey.app"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.component.installationLocation(), c.location);
        EXPECT_EQ(c.component.sourcePath(), c.source);
    }
    EXPECT_EQ(manager.hotKeyComponent().installedPath(), ossvale + "/TSY HotKey.app");
}

TEST(MRVNInstallationManager, QuitHotKeyIsJudgedByTheScriptsExitStatus) {
    struct Case {
        const char* script; // nullptr: no script
        bool result;
    };
    for (const Case& c : {Case{"exit 0", true}, Case{"exit 3", false}, Case{nullptr, false}}) {
        test::ComponentEnvironment env;
        if (c.script)
            std::ofstream(env.resources() + "/quitHotKey.sh") << c.script;
        EXPECT_EQ(MRVNInstallationManager().quitHotKey(), c.result) << (c.script ? c.script : "");
    }
}

TEST(MRVNInstallationManager, AnOlderHotKeyProgramIsStoppedReplacedAndStarted) {
    test::ComponentEnvironment env;
    const std::string log = env.home / "log";
    std::ofstream(env.resources() + "/quitHotKey.sh") << "echo quit >> '" << log << "'\n";
    const std::string pane = env.resources() + "/Components/Tessary Preferences.prefPane";
    test::ComponentEnvironment::makeBundle(pane + "/Contents/Resources/TSY HotKey.app", "20", false,
                                           "echo started 20 >> '" + log + "'");
    test::ComponentEnvironment::makeBundle(env.dataHome() + "/Ossvale/TSY HotKey.app", "10", false,
                                           "echo started 10 >> '" + log + "'");
    MRVNInstallationManager manager;
    ASSERT_TRUE(manager.shouldUpdateHotKey());
    ASSERT_TRUE(manager.updateHotKey());
    ASSERT_TRUE(waitForFile(log));
    for (int i = 0; i < 100 && test::readFile(log) != "quit\nstarted 20\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::readFile(log), "quit\nstarted 20\n");
    EXPECT_FALSE(manager.shouldUpdateHotKey());
    EXPECT_FALSE(manager.shouldUpdateContextMenu()); // not installed
}

TEST(InstallationManager, ScriptTextsAreExact) {
    EXPECT_EQ(ScriptRunner::finderRestartScript(), "tell application \"Finder\" to quit\n"
                                                   "delay 3\n"
                                                   "tell application \"Finder\" to activate\n");
    EXPECT_EQ(ScriptRunner::preferencesActivationScript(),
              "tell application \"System Preferences\"\nactivate\nend tell\n");
    EXPECT_STREQ(InstallationManager::kPrefPaneFile,
                 "~/Library/PreferencePanes/Tessary Preferences.prefPane");
}

TEST(LibraryPath, TheUsersLibraryFoldersMapToTheDataFolder) {
    test::ComponentEnvironment env;
    const std::string data = env.dataHome();
    const std::pair<std::string, std::string> cases[] = {
        {"~/Library/Application Support/Ossvale/", data + "/Ossvale"},
        {"~/Library/Application Support/Morvane.app", data + "/Morvane.app"},
        {"~/Library/PreferencePanes/", data + "/Ossvale/PreferencePanes"},
        {"~/Library/PreferencePanes/Tessary Preferences.prefPane",
         data + "/Ossvale/PreferencePanes/Tessary Preferences.prefPane"},
        {"~/Library/Contextual Menu Items", data + "/Ossvale/Contextual Menu Items"},
        {"~/Library/Contextual Menu Items/MorvaneAppCM.plugin",
         data + "/Ossvale/Contextual Menu Items/MorvaneAppCM.plugin"},
        {"~/Library/PreferencePanesX", env.home / "Library/PreferencePanesX"},
        {"~", env.home.path()},
        {"~other/x", "~other/x"},
        {"/opt/x/", "/opt/x"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(XdgPaths::libraryPath(path), expected) << path;
}

namespace {
// PATH with one folder in front, for the test's lifetime.
struct PathInFront {
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit PathInFront(const std::string& folder) {
        setenv("PATH", (folder + ":" + saved).c_str(), 1);
    }
    ~PathInFront() { setenv("PATH", saved.c_str(), 1); }
};
} // namespace

TEST(InstallationManager, RestartFinderQuitsTheRunningFileManagerAndStartsItAgain) {
    if (const auto real = FileManagerRestart::running())
        GTEST_SKIP() << "a real " << real->process << " runs for this user";
    test::TempDir bin("bin");
    const std::string log = bin / "log", pid = bin / "pid";
    // A stand-in Nautilus: runs under the name "nautilus" until told to quit;
    // started again, it notes how and ends.
    bin.write("nautilus", "#!/bin/sh\ncase \"$1\" in\n"
                          "--quit) echo quit >> '" +
                              log + "'; kill $(cat '" + pid +
                              "') ;;\n"
                              "--gapplication-service) echo \"started $1\" >> '" +
                              log +
                              "' ;;\n"
                              "*) echo $$ > '" +
                              pid + "'; while :; do sleep 0.1; done ;;\nesac\n");
    fs::permissions(bin / "nautilus", fs::perms::owner_all);
    PathInFront path(bin.path());
    test::FakePort port;
    InstallationManager manager;

    port.alertAnswers = {1, 1};
    EXPECT_FALSE(manager.doInteractiveRestartFinder(port)); // none runs yet
    EXPECT_EQ(port.alertTitles(),
              (std::vector<std::string>{InstallationManager::kRestartTitle,
                                        InstallationManager::kRestartFailedTitle}));

    ASSERT_TRUE(Workspace::startDetached("nautilus", {}));
    ASSERT_TRUE(waitForFile(pid));
    for (int i = 0; i < 100 && !FileManagerRestart::running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(FileManagerRestart::running());
    port.alerts.clear();
    port.alertAnswers = {1};
    EXPECT_TRUE(manager.doInteractiveRestartFinder(port));
    EXPECT_EQ(port.alertTitles(), std::vector<std::string>{InstallationManager::kRestartTitle});
    for (int i = 0; i < 100 && test::readFile(log) != "quit\nstarted --gapplication-service\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(test::readFile(log), "quit\nstarted --gapplication-service\n");
    EXPECT_FALSE(FileManagerRestart::running());

    // "No" leaves everything as it is.
    port.alerts.clear();
    port.alertAnswers = {0};
    EXPECT_FALSE(manager.doInteractiveRestartFinder(port));
    EXPECT_EQ(port.alerts.size(), 1u);
    EXPECT_TRUE(port.unexpected.empty());
}
