#include "HotKey/ClipboardFiles.h"
#include "HotKey/DistributedNotification.h"
#include "HotKey/PidFile.h"
#include "HotKey/ProcessLauncher.h"
#include "HotKey/X11Desktop.h"
#include "tests/hotkey/ChildProcess.h"
#include "tests/hotkey/HotKeyTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

using namespace tsyhotkey;
using namespace tsyhotkey::test;
using namespace std::chrono_literals;
using morvane::test::pathExists;
using morvane::test::readFile;

TEST(ClipboardFiles, TakesTheLocalFilesAFileManagerCopied) {
    struct Case {
        const char* text;
        std::vector<std::string> paths;
    } cases[] = {
        {"copy\nfile:///home/u/a%20b.jpg\nfile:///home/u/c", {"/home/u/a b.jpg", "/home/u/c"}},
        {"cut\nfile:///x\n", {"/x"}},
        {"# a comment\r\nfile:///one\r\nfile://localhost/two\r\n", {"/one", "/two"}},
        {"file:///caf%C3%A9/%ff\n", {"/caf\xc3\xa9/\xff"}},
        {"https://example.org/x\nsftp://host/y\nfile://host/z\nfile:///ok", {"/ok"}},
        {"file:///bad%2\nfile:///bad%zz\nfile:///nul%00\nfile:///good", {"/good"}},
        {"", {}},
        {"copy\n", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClipboardFiles::pathsFromUriList(c.text), c.paths) << c.text;
}

TEST(X11Desktop, KnowsTheFileManagersByWindowClass) {
    for (const char* name :
         {"nautilus", "org.gnome.nautilus", "dolphin", "nemo", "caja", "thunar", "pcmanfm-qt"})
        EXPECT_TRUE(X11Desktop::isFileManagerClass(name)) << name;
    for (const char* name : {"", "xterm", "firefox", "Nautilus", "nautilus2"})
        EXPECT_FALSE(X11Desktop::isFileManagerClass(name)) << name;
}

TEST(ProcessLauncher, FindsTheProgramOfABundleAndStartsItWithTheItems) {
    TempDir dir("launch");
    const std::string record = dir / "record";
    const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + record + "'\n";
    const auto executable = [&](const std::string& relative) {
        std::string path = dir.write(relative, script);
        chmod(path.c_str(), 0755);
        return path;
    };
    const std::string plain = executable("tool");
    const std::string named = executable("Named.app/Contents/bin/named-tool");
    executable("Named.app/Contents/bin/other-tool");
    dir.write("Named.app/Contents/Info.plist",
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleExecutable</key>"
              "<string>named-tool</string></dict></plist>");
    const std::string only = executable("Only.app/Contents/bin/only");
    executable("Two.app/Contents/bin/a");
    executable("Two.app/Contents/bin/b");
    dir.write("NotRunnable.app/Contents/bin/x", "text");
    dir.write("Escaping.app/Contents/Info.plist",
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleExecutable</key>"
              "<string>../../../tool</string></dict></plist>");
    struct Case {
        std::string application;
        std::optional<std::string> program;
    } cases[] = {{plain, plain},
                 {dir / "Named.app", named},
                 {dir / "Only.app", only},
                 {dir / "Two.app", std::nullopt},
                 {dir / "NotRunnable.app", std::nullopt},
                 {dir / "Escaping.app", std::nullopt},
                 {dir / "Missing.app", std::nullopt}};
    for (const Case& c : cases)
        EXPECT_EQ(ProcessLauncher::programOf(c.application), c.program) << c.application;

    ASSERT_TRUE(ProcessLauncher::launch(dir / "Only.app", {"/a b", "-x"}));
    ASSERT_TRUE(waitUntil([&] { return readFile(record).ends_with("-x\n"); }, 5s));
    EXPECT_EQ(readFile(record), only + "\n/a b\n-x\n");
    EXPECT_FALSE(ProcessLauncher::launch(dir / "Two.app"));
}

TEST(PidFile, OneHolderAtATimeAndAStaleFileIsTakenOver) {
    TempDir dir("pid");
    const std::string path = dir / "tsy-hotkey.:5.pid";
    pid_t holder = -1;
    {
        PidFile first;
        ASSERT_EQ(first.acquire(path, holder), PidFile::Result::Acquired);
        EXPECT_EQ(firstLine(path), std::to_string(getpid()));
        PidFile second;
        EXPECT_EQ(second.acquire(path, holder), PidFile::Result::AlreadyRunning);
        EXPECT_EQ(holder, getpid());
    }
    EXPECT_FALSE(pathExists(path)) << "removed at the end";
    dir.write("tsy-hotkey.:5.pid", "999999999\nleft over\n");
    PidFile third;
    EXPECT_EQ(third.acquire(path, holder), PidFile::Result::Acquired);
    EXPECT_EQ(readFile(path), std::to_string(getpid()) + "\n");
    EXPECT_EQ(PidFile().acquire(dir / "no/such/folder.pid", holder), PidFile::Result::Failed);
}

TEST(PidFile, IsNamedAfterTheRuntimeFolderAndTheDisplay) {
    struct Case {
        const char* runtime;
        const char* display;
        const char* wayland;
        std::string path;
    } cases[] = {{"/run/user/7", ":0", "", "/run/user/7/tsy-hotkey.:0.pid"},
                 {"/run/user/7", ":0", "wayland-1", "/run/user/7/tsy-hotkey.wayland-1.pid"},
                 {"/run/user/7", "", "/tmp/w/sock", "/run/user/7/tsy-hotkey._tmp_w_sock.pid"},
                 {"/r", "", "", "/r/tsy-hotkey.none.pid"}};
    for (const Case& c : cases) {
        ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime);
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv wayland("WAYLAND_DISPLAY", c.wayland);
        EXPECT_EQ(PidFile::defaultPath(), c.path);
    }
}

TEST(DistributedNotification, TheWakeUpGoesOutAsASignalOnTheSessionBus) {
    if (!onPath("dbus-daemon"))
        GTEST_SKIP() << "no dbus-daemon";
    TempDir dir("bus");
    PrivateSessionBus bus(dir.path());
    ASSERT_FALSE(bus.address().empty());
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.address());
    sd_bus* listener = nullptr;
    ASSERT_GE(sd_bus_open_user(&listener), 0);
    std::vector<std::string> received;
    sd_bus_match_signal(
        listener, nullptr, nullptr, "/net/halvard/DistributedNotifications",
        "net.halvard.DistributedNotifications", "Posted",
        [](sd_bus_message* message, void* data, sd_bus_error*) {
            const char* name = nullptr;
            const char* object = nullptr;
            sd_bus_message_read(message, "ss", &name, &object);
            static_cast<std::vector<std::string>*>(data)->push_back(std::string(name) + "|" +
                                                                    object);
            return 0;
        },
        &received);
    ASSERT_TRUE(DistributedNotification::post("wake up", "net.halvard.tmbl"));
    waitUntil(
        [&] {
            while (sd_bus_process(listener, nullptr) > 0) {
            }
            sd_bus_wait(listener, 10000);
            return !received.empty();
        },
        5s);
    sd_bus_flush_close_unref(listener);
    EXPECT_EQ(received, std::vector<std::string>{"wake up|net.halvard.tmbl"});
}
