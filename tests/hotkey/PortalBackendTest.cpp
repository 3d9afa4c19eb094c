#include "HotKey/AppController.h"
#include "HotKey/KeyTable.h"
#include "HotKey/PortalKeyRegistrar.h"
#include "tests/hotkey/ChildProcess.h"
#include "tests/hotkey/HotKeyTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <systemd/sd-bus.h>

using namespace tsyhotkey;
using namespace tsyhotkey::test;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t kCmdCtrl = kCommandKeyMask | kControlKeyMask;
const std::string kMorvaneKey = "Open the file manager's files with Morvane";

std::vector<std::string> lines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> result;
    for (std::string line; std::getline(file, line);)
        result.push_back(line);
    return result;
}

// A private session bus (dbus-daemon --session) with the stand-in portal on it.
class StandInPortalBus {
public:
    explicit StandInPortalBus(const TempDir& dir) : log_(dir / "portal.log"), bus_(dir.path()) {
        address_ = bus_.address();
        portal_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{STANDIN_PORTAL, log_},
            std::vector<std::string>{"DBUS_SESSION_BUS_ADDRESS=" + address_});
    }
    const std::string& address() const { return address_; }
    const std::string& log() const { return log_; }

    // Tells the stand-in to report a press of the shortcut.
    bool activate(const std::string& id) { return call("Activate", id); }
    // Tells the stand-in to close the session from the portal's side.
    bool closeSession() { return call("CloseSession", {}); }

private:
    bool call(const char* method, const std::string& id) {
        sd_bus* bus = nullptr;
        sd_bus_new(&bus);
        sd_bus_set_address(bus, address_.c_str());
        sd_bus_set_bus_client(bus, 1);
        int status = sd_bus_start(bus);
        const bool withId = std::string(method) == "Activate";
        if (status >= 0)
            status = sd_bus_call_method(bus, "org.freedesktop.portal.Desktop",
                                        "/org/morvane/StandIn", "org.morvane.StandIn", method,
                                        nullptr, nullptr, withId ? "s" : "", id.c_str());
        sd_bus_flush_close_unref(bus);
        return status >= 0;
    }

    std::string log_;
    PrivateSessionBus bus_;
    std::string address_;
    std::unique_ptr<ChildProcess> portal_;
};

// Handles the bus until condition holds or the time is up.
template <typename Condition>
bool pump(PortalKeyRegistrar& portal, HotKeyApplication& application, Condition condition,
          std::chrono::milliseconds limit = 5s) {
    const HotKeyBackend::PressHandler onPress = [&](HotKeyHandle handle) {
        application.sendEvent(handle);
    };
    return waitUntil(
        [&] {
            pollfd descriptor = portal.descriptor();
            poll(&descriptor, 1, 10);
            portal.dispatch(onPress);
            return condition();
        },
        limit);
}

} // namespace

TEST(PortalBackend, BindsTheShortcutsRunsActivationsAndRebindsAChangedKey) {
    if (!onPath("dbus-daemon"))
        GTEST_SKIP() << "no dbus-daemon";
    PrivateUser user;
    StandInPortalBus bus(user.root);
    std::unique_ptr<PortalKeyRegistrar> portal;
    ASSERT_TRUE(waitUntil(
        [&] {
            portal = std::make_unique<PortalKeyRegistrar>(bus.address());
            return portal->isAvailable();
        },
        10s))
        << portal->reason();

    const std::string morvane = user.root.makeFolder("Applications/Morvane 7.app");
    user.installInSupport("Tambrel.app");
    FakeScriptEngine scripts;
    FakeWorkspace workspace;
    HotKeyApplication application(*portal);
    AppController controller(application, workspace, scripts);
    controller.awakeFromNib();
    ASSERT_TRUE(pump(*portal, application, [&] { return portal->boundShortcuts().size() == 2; }));
    std::vector<std::string> log = lines(bus.log());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[0].starts_with("CreateSession "));
    const std::string session = log[0].substr(14);
    EXPECT_EQ(log[1], "BindShortcuts " + session + " CTRL+LOGO+r|CTRL+LOGO+r|" + kMorvaneKey +
                          " F1|F1|Start Tambrel");

    // Re-reads that change nothing ask the portal nothing.
    for (int tick = 0; tick < 3; ++tick)
        controller.timeUp();
    pump(
        *portal, application, [] { return false; }, 1s);
    EXPECT_EQ(lines(bus.log()).size(), 2u);

    ASSERT_TRUE(bus.activate("CTRL+LOGO+r"));
    ASSERT_TRUE(pump(*portal, application, [&] { return scripts.executed.size() == 1; }));
    EXPECT_NE(scripts.executed[0].find("Morvane 7.app"), std::string::npos);

    PrivateUser::writeRecord("mrvn", 40, kCmdCtrl | kShiftKeyMask, "YES", "K");
    controller.timeUp();
    ASSERT_TRUE(pump(*portal, application, [&] { return lines(bus.log()).size() == 5; }));
    log = lines(bus.log());
    EXPECT_EQ(log[2], "Close " + session);
    ASSERT_TRUE(log[3].starts_with("CreateSession "));
    const std::string second = log[3].substr(14);
    EXPECT_NE(second, session);
    EXPECT_EQ(log[4], "BindShortcuts " + second + " CTRL+SHIFT+LOGO+k|CTRL+SHIFT+LOGO+k|" +
                          kMorvaneKey + " F1|F1|Start Tambrel");
    ASSERT_TRUE(pump(*portal, application, [&] { return portal->boundShortcuts().size() == 2; }));

    // The old combination no longer acts; the new one does, and so does Tambrel's.
    ASSERT_TRUE(bus.activate("CTRL+LOGO+r"));
    ASSERT_TRUE(bus.activate("CTRL+SHIFT+LOGO+k"));
    ASSERT_TRUE(pump(*portal, application, [&] { return scripts.executed.size() == 2; }));
    ASSERT_TRUE(bus.activate("F1"));
    ASSERT_TRUE(pump(*portal, application, [&] { return workspace.launched.size() == 1; }));
    EXPECT_EQ(scripts.executed.size(), 2u);
    EXPECT_EQ(workspace.wakeUps, 1);

    // A session the portal closes is bound again at the next re-read.
    ASSERT_TRUE(bus.closeSession());
    ASSERT_TRUE(pump(*portal, application, [&] { return portal->boundShortcuts().empty(); }));
    controller.timeUp();
    ASSERT_TRUE(pump(*portal, application, [&] { return portal->boundShortcuts().size() == 2; }));
    log = lines(bus.log());
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[5], "Closed " + second);
    EXPECT_TRUE(log[6].starts_with("CreateSession "));
    EXPECT_TRUE(log[7].starts_with("BindShortcuts " + log[6].substr(14) + " CTRL+SHIFT+LOGO+k|"));
}

TEST(PortalBackend, TriggersNameTheModifiersAndTheKeySymbol) {
    struct Case {
        std::uint16_t keyCode;
        std::uint32_t modifiers;
        const char* trigger;
    } cases[] = {{15, kCmdCtrl, "CTRL+LOGO+r"},
                 {122, 0, "F1"},
                 {114, kOptionKeyMask, "ALT+Insert"},
                 {126, kShiftKeyMask | kControlKeyMask | kOptionKeyMask | kCommandKeyMask,
                  "CTRL+SHIFT+ALT+LOGO+Up"},
                 {29, kShiftKeyMask, "SHIFT+0"},
                 {200, kCmdCtrl, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(PortalKeyRegistrar::trigger(c.keyCode, c.modifiers), c.trigger);
}

TEST(PortalBackend, WithoutAPortalOnTheBusItIsNotAvailableAndSaysWhy) {
    if (!onPath("dbus-daemon"))
        GTEST_SKIP() << "no dbus-daemon";
    TempDir dir("bus");
    PrivateSessionBus bus(dir.path());
    ASSERT_FALSE(bus.address().empty());
    PortalKeyRegistrar portal(bus.address());
    EXPECT_FALSE(portal.isAvailable());
    EXPECT_NE(portal.reason().find("no desktop portal"), std::string::npos) << portal.reason();
    EXPECT_EQ(portal.registerKey({15, kCmdCtrl, 0, "x"}), 0u);
}
