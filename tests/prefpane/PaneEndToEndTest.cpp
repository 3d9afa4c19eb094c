// The whole way on a real X server (Xvfb): the pane installs the built
// hot-key program, which starts and gets its autostart entry; the renamer's
// key is changed in the table and pressed with XTest; the pane removes it all.
#include "HotKey/KeyTable.h"
#include "tests/prefpane/PaneTestSupport.h"

#include <gtest/gtest.h>

// Xlib's macros after gtest.
#include "tests/hotkey/XDesktop.h"
#include <csignal>
#include <filesystem>

using namespace tessary;
using namespace tessary::test;
using namespace tsyhotkey::test;
using namespace std::chrono_literals;

namespace {

class PaneEndToEnd : public ::testing::Test, public PaneUser {
protected:
    std::string runtime = root.makeFolder("runtime");
    std::string tool = root.write("tool/morvane-stand-in",
                                  "#!/bin/sh\nprintf '%s\\n' call \"$@\" >> '" + calls + "'\n");
    std::unique_ptr<XDesktop> desktop;
    std::vector<std::unique_ptr<ScopedEnv>> session;
    FakeAlertPort alerts;

    void SetUp() override {
        if (!onPath("Xvfb"))
            GTEST_SKIP() << "no Xvfb";
        chmod(tool.c_str(), 0755);
        chmod(runtime.c_str(), 0700);
        writeDomainValue("net.halvard.mrvn7", "location", Value(tool));
        desktop = std::make_unique<XDesktop>(root);
        ASSERT_TRUE(desktop->isOpen()) << "Xvfb did not start";
        desktop->activateFileManager();
        // What the started program and the quit script see.
        for (auto [name, value] : {std::pair<const char*, std::string>{"DISPLAY", desktop->name()},
                                   {"XDG_RUNTIME_DIR", runtime},
                                   {"WAYLAND_DISPLAY", ""},
                                   {"XDG_SESSION_TYPE", ""},
                                   {"TSY_HOTKEY_BACKEND", "x11"}})
            session.push_back(std::make_unique<ScopedEnv>(name, value));
    }
    void TearDown() override {
        // Whatever happened, no program of the test outlives it.
        if (desktop)
            morvane::Workspace::runAndWait("/bin/sh", {std::string(TESSARY_PANE_BUNDLE) +
                                                       "/Contents/Resources/quitHotKey.sh"});
    }
    std::string pidFile() const { return runtime + "/tsy-hotkey." + desktop->name() + ".pid"; }
    bool pressUntilCalled(std::initializer_list<KeySym> keys, std::chrono::milliseconds limit) {
        const std::string before = callsMade();
        return desktop->pressUntil(
            keys, [&] { return callsMade() != before; }, limit);
    }
};

int keyIndex(const std::string& name) {
    const auto& keys = PaneController::keyArray();
    return static_cast<int>(std::find(keys.begin(), keys.end(), name) - keys.begin());
}

} // namespace

TEST_F(PaneEndToEnd, InstallChangeTheKeyPressItAndUninstall) {
    PaneController pane(TESSARY_PANE_BUNDLE, alerts);
    pane.init();
    pane.willSelect();
    pane.didSelect();
    ASSERT_EQ(pane.hotKeyData().size(), 1u);
    pane.installHotKey();
    EXPECT_EQ(alerts.titles(),
              std::vector<std::string>{"Hot key component successfully installed."});

    // Running, with its autostart entry.
    ASSERT_TRUE(waitUntil([&] { return !firstLine(pidFile()).empty(); }, 10s)) << "not started";
    const pid_t program = std::stoi(firstLine(pidFile()));
    const std::string installed = PaneController::installedHotKeyPath();
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(program) + "/exe").string(),
              installed + "/Contents/bin/tsy-hotkey");
    const std::string entry = readFile(morvane::LoginItems::autostartFile(installed));
    EXPECT_NE(entry.find("Exec=\"" + installed + "/Contents/bin/tsy-hotkey\""), std::string::npos)
        << entry;

    // Morvane's key becomes Control+Shift+Super+K, saved when the pane is left.
    ProductContext& morvane = *pane.hotKeyData().front();
    morvane.setValue(RowKey::PrincipalKeyChoice, keyIndex("K"));
    morvane.setValue(RowKey::Shift, 1);
    ASSERT_TRUE(pane.shouldUnselect());
    pane.willUnselect();
    desktop->copyFiles("file:///home/u/a%20b.jpg\n");
    ASSERT_TRUE(pressUntilCalled({XK_Control_L, XK_Shift_L, XK_Super_L, XK_k}, 10s))
        << "the new key did not reach Morvane";
    EXPECT_EQ(callsMade(), "call\n/home/u/a b.jpg\n");

    // Uninstalled: no process, no file, no autostart entry, no login item.
    alerts.alerts.clear();
    pane.willSelect();
    pane.uninstallHotKey();
    EXPECT_EQ(alerts.titles().back(), "Hot Key Component was successfully removed.");
    EXPECT_TRUE(waitUntil([&] { return kill(program, 0) != 0; }, 10s)) << "still running";
    EXPECT_FALSE(pathExists(pidFile()));
    EXPECT_FALSE(pathExists(installed));
    EXPECT_TRUE(autostartEntries().empty());
    EXPECT_TRUE(loginItemPaths().empty());
}
