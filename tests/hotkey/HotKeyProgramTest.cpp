// The built tsy-hotkey on a real X server (Xvfb), pressed with XTest.
#include "HotKey/AppController.h"
#include "HotKey/KeyTable.h"
#include "tests/hotkey/ChildProcess.h"
#include "tests/hotkey/HotKeyTestSupport.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, Status) that gtest's headers must not see.
#include "HotKey/X11KeyRegistrar.h"
#include "tests/hotkey/XDesktop.h"
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace tsyhotkey;
using namespace tsyhotkey::test;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t kCmdCtrl = kCommandKeyMask | kControlKeyMask;

class HotKeyProgram : public ::testing::Test, public PrivateUser {
protected:
    std::string runtime = root.makeFolder("runtime");
    std::string record = root / "calls";
    std::string tool = root.write("tool/morvane-stand-in",
                                  "#!/bin/sh\nprintf '%s\\n' call \"$@\" >> '" + record + "'\n");
    std::unique_ptr<XDesktop> desktop;

    void SetUp() override {
        if (!onPath("Xvfb"))
            GTEST_SKIP() << "no Xvfb";
        chmod(tool.c_str(), 0755);
        chmod(runtime.c_str(), 0700);
        writeDomainValue("net.halvard.mrvn7", "location", Value(tool));
        desktop = std::make_unique<XDesktop>(root);
        ASSERT_TRUE(desktop->isOpen()) << "Xvfb did not start";
        desktop->activateFileManager();
    }

    std::vector<std::string> environment() const {
        return {"DISPLAY=" + desktop->name(), "XDG_RUNTIME_DIR=" + runtime, "WAYLAND_DISPLAY=",
                "XDG_SESSION_TYPE=",          "DBUS_SESSION_BUS_ADDRESS=",  "TSY_HOTKEY_BACKEND="};
    }
    std::string pidFile() const { return runtime + "/tsy-hotkey." + desktop->name() + ".pid"; }
    std::unique_ptr<ChildProcess> start() {
        auto program =
            std::make_unique<ChildProcess>(std::vector<std::string>{TSY_HOTKEY}, environment());
        waitUntil([&] { return firstLine(pidFile()) == std::to_string(program->pid()); }, 10s);
        return program;
    }
    std::string calls() const {
        return morvane::test::pathExists(record) ? morvane::test::readFile(record) : "";
    }

    // Presses the keys until the tool records a call (the program may not have
    // grabbed them yet); false when nothing came.
    bool pressUntilCalled(std::initializer_list<KeySym> keys, std::chrono::milliseconds limit) {
        const std::string before = calls();
        return desktop->pressUntil(
            keys, [&] { return calls() != before; }, limit);
    }
    // Presses the keys once and watches a while that nothing is called.
    bool pressCallsNothing(std::initializer_list<KeySym> keys) {
        const std::string before = calls();
        desktop->press(keys);
        return !waitUntil(
            [&] {
                desktop->serve();
                return calls() != before;
            },
            1500ms);
    }
    static bool twoTicksPass() {
        usleep(2 * 2500 * 1000 + 500 * 1000);
        return true;
    }
};

} // namespace

TEST_F(HotKeyProgram, GrabsTheRenamersKeyFollowsAChangeAndActsOnlyOverAFileManager) {
    auto program = start();
    ASSERT_TRUE(morvane::test::pathExists(pidFile()));
    ASSERT_TRUE(pressUntilCalled({XK_Control_L, XK_Super_L, XK_r}, 10s)) << "Ctrl+Super+R";
    EXPECT_EQ(calls(), "call\n"); // nothing copied: the tool starts with nothing

    desktop->copyFiles("file:///home/u/a%20b.jpg\nfile:///home/u/c.png\n");
    ASSERT_TRUE(pressUntilCalled({XK_Control_L, XK_Super_L, XK_r}, 5s));
    EXPECT_EQ(calls(), "call\ncall\n/home/u/a b.jpg\n/home/u/c.png\n");

    // Caps Lock does not hide the key.
    desktop->press({XK_Caps_Lock});
    ASSERT_TRUE(pressUntilCalled({XK_Control_L, XK_Super_L, XK_r}, 3s)) << "with Caps Lock";
    desktop->press({XK_Caps_Lock});

    desktop->activateTerminal();
    EXPECT_TRUE(pressCallsNothing({XK_Control_L, XK_Super_L, XK_r})) << "over a terminal";
    desktop->activateFileManager();

    writeRecord("mrvn", *KeyTable::keyCodeForName("K"), kCmdCtrl | kShiftKeyMask, "YES", "K");
    twoTicksPass();
    EXPECT_TRUE(pressCallsNothing({XK_Control_L, XK_Super_L, XK_r})) << "the old key";
    EXPECT_TRUE(pressUntilCalled({XK_Control_L, XK_Shift_L, XK_Super_L, XK_k}, 3s))
        << "the new key";

    writeRecord("mrvn", *KeyTable::keyCodeForName("K"), kCmdCtrl | kShiftKeyMask, "NO", "K");
    twoTicksPass();
    EXPECT_TRUE(pressCallsNothing({XK_Control_L, XK_Shift_L, XK_Super_L, XK_k})) << "switched off";

    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(5s), 0);
    EXPECT_FALSE(morvane::test::pathExists(pidFile()));
}

TEST_F(HotKeyProgram, AKeyTakenByAnotherProgramIsGrabbedOnceItIsFree) {
    Display* other = XOpenDisplay(desktop->name().c_str());
    ASSERT_TRUE(other);
    const KeyCode r = XKeysymToKeycode(other, XK_r);
    XGrabKey(other, r, ControlMask | Mod4Mask, DefaultRootWindow(other), False, GrabModeAsync,
             GrabModeAsync);
    XSync(other, False);
    auto program = start();
    twoTicksPass();
    EXPECT_TRUE(pressCallsNothing({XK_Control_L, XK_Super_L, XK_r})) << "taken";
    XUngrabKey(other, r, ControlMask | Mod4Mask, DefaultRootWindow(other));
    XCloseDisplay(other);
    EXPECT_TRUE(pressUntilCalled({XK_Control_L, XK_Super_L, XK_r}, 6s)) << "free again";
}

TEST_F(HotKeyProgram, OneInstancePerDisplayEndedByItsQuitScript) {
    auto program = start();
    ASSERT_TRUE(morvane::test::pathExists(pidFile()));
    ChildProcess second({TSY_HOTKEY}, environment());
    EXPECT_EQ(second.waitForExit(5s), 0) << "a second start leaves";
    EXPECT_EQ(firstLine(pidFile()), std::to_string(program->pid()));
    EXPECT_EQ(kill(program->pid(), 0), 0) << "the first runs on";

    std::vector<std::string> quitEnvironment = environment();
    ChildProcess quit({"sh", TSY_HOTKEY_QUIT}, quitEnvironment);
    EXPECT_EQ(quit.waitForExit(15s), 0);
    EXPECT_EQ(program->waitForExit(5s), 0);
    EXPECT_FALSE(morvane::test::pathExists(pidFile()));

    ChildProcess again({"sh", TSY_HOTKEY_QUIT}, quitEnvironment);
    EXPECT_EQ(again.waitForExit(15s), 1) << "nothing left to end";
    // A stale pid file (no lock held) names nobody, whoever has that pid now.
    root.write("runtime/tsy-hotkey." + desktop->name() + ".pid", std::to_string(getpid()) + "\n");
    ChildProcess stale({"sh", TSY_HOTKEY_QUIT}, quitEnvironment);
    EXPECT_EQ(stale.waitForExit(15s), 1);
}

TEST_F(HotKeyProgram, EndsCleanlyWhenTheXServerGoesAway) {
    auto program = start();
    ASSERT_TRUE(pressUntilCalled({XK_Control_L, XK_Super_L, XK_r}, 10s));
    desktop->disconnect();
    desktop->server().signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(10s), 0);
    EXPECT_FALSE(morvane::test::pathExists(pidFile()));
}

TEST(HotKeyProgramAlone, WithoutAnyDesktopLogsWhyAndExitsZero) {
    PrivateUser user;
    std::string runtime = user.root.makeFolder("runtime");
    ChildProcess program({TSY_HOTKEY},
                         {"DISPLAY=", "WAYLAND_DISPLAY=", "XDG_RUNTIME_DIR=" + runtime,
                          "DBUS_SESSION_BUS_ADDRESS=unix:path=" + runtime + "/none",
                          "TSY_HOTKEY_BACKEND="});
    EXPECT_EQ(program.waitForExit(10s), 0);
    EXPECT_FALSE(morvane::test::pathExists(runtime + "/tsy-hotkey.none.pid"));
}

TEST(X11KeyRegistrar, MapsTheRecordsModifiersToXModifiers) {
    struct Case {
        std::uint32_t mask;
        unsigned int modifiers;
    } cases[] = {{0, 0},
                 {kControlKeyMask, ControlMask},
                 {kShiftKeyMask, ShiftMask},
                 {kOptionKeyMask, Mod1Mask},
                 {kCommandKeyMask, Mod4Mask},
                 {kCmdCtrl, ControlMask | Mod4Mask},
                 {kShiftKeyMask | kOptionKeyMask | 0x1000000, ShiftMask | Mod1Mask}};
    for (const Case& c : cases)
        EXPECT_EQ(X11KeyRegistrar::xModifiers(c.mask), c.modifiers) << std::hex << c.mask;
}

TEST_F(HotKeyProgram, EveryKeyOfTheTableFindsItsXKeyByName) {
    Display* display = desktop->display();
    struct Case {
        const char* name;
        KeySym symbol;
    } cases[] = {{"0", XK_0},
                 {"9", XK_9},
                 {"A", XK_a},
                 {"R", XK_r},
                 {"Z", XK_z},
                 {"F1", XK_F1},
                 {"F12", XK_F12},
                 {"INSERT", XK_Insert},
                 {"DELETE", XK_Delete},
                 {"ESCAPE", XK_Escape},
                 {"TAB", XK_Tab},
                 {"UP ARROW", XK_Up},
                 {"LEFT ARROW", XK_Left},
                 {"HOME", XK_Home},
                 {"END", XK_End}};
    for (const Case& c : cases)
        EXPECT_EQ(X11KeyRegistrar::xKeyCode(display, *KeyTable::keyCodeForName(c.name)),
                  XKeysymToKeycode(display, c.symbol))
            << c.name;
    // "HELP" shares 114 with "INSERT"; the first entry names the key.
    EXPECT_EQ(X11KeyRegistrar::xKeyCode(display, 114), XKeysymToKeycode(display, XK_Insert));
    EXPECT_EQ(X11KeyRegistrar::xKeyCode(display, 999), 0);
    for (const KeyTableEntry& entry : KeyTable::entries())
        EXPECT_NE(XStringToKeysym(entry.keySymbolName), NoSymbol) << entry.name;
}
