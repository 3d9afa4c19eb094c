#pragma once
// A private user for the pane's tests (home, preferences, data and the
// applications folder in a temporary folder), a scripted alert port, and a
// stand-in pane bundle whose hot-key program and quit script record calls.
#include "PrefPane/PaneController.h"
#include "platform/LoginItems.h"
#include "platform/Workspace.h"
#include "tests/hotkey/ChildProcess.h"
#include "tests/hotkey/HotKeyTestSupport.h"
#include "tests/support/ComponentEnvironment.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <sys/stat.h>

namespace tessary::test {

using morvane::plist::Dictionary;
using morvane::plist::Value;
using morvane::test::pathExists;
using morvane::test::readFile;
using tsyhotkey::test::PrivateUser;
using tsyhotkey::test::ScopedEnv;

class FakeAlertPort : public AlertPort {
public:
    // Answers in order; the first button when none is queued.
    std::deque<AlertAnswer> answers;
    std::vector<Alert> alerts;
    std::vector<std::string> helpPages;

    AlertAnswer runAlert(const Alert& alert) override {
        alerts.push_back(alert);
        if (answers.empty())
            return AlertAnswer::First;
        const AlertAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void openHelpPage(const std::string& address) override { helpPages.push_back(address); }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const Alert& alert : alerts)
            result.push_back(alert.title);
        return result;
    }
};

struct PaneUser : PrivateUser {
    ScopedEnv home{"HOME", root / "home"};
    std::string calls = root / "calls";
    std::string pane = root / "Pane/Tessary Preferences.prefPane";

    PaneUser() { root.makeFolder("home"); }

    std::string resources() const { return pane + "/Contents/Resources"; }
    std::string dataHomeFolder() const { return root / "data"; }
    // The pane with a hot-key program of the version that records its start,
    // and a quit script that records its run and ends with quitStatus.
    void makePane(const std::string& version, int quitStatus = 0) {
        morvane::test::ComponentEnvironment::makeBundle(pane, version);
        morvane::test::ComponentEnvironment::makeBundle(resources() + "/TSY HotKey.app", version,
                                                        false, "echo started >> '" + calls + "'");
        root.write("Pane/Tessary Preferences.prefPane/Contents/Resources/quitHotKey.sh",
                   "echo quit >> '" + calls + "'\nexit " + std::to_string(quitStatus) + "\n");
    }
    std::string callsMade() const { return pathExists(calls) ? readFile(calls) : ""; }
    // The stand-in program runs detached: waits until its start is recorded.
    bool startedWithin(std::chrono::milliseconds limit) const {
        return tsyhotkey::test::waitUntil(
            [&] { return callsMade().find("started") != std::string::npos; }, limit);
    }
    void installMorvane() { root.makeFolder("Applications/Morvane 7.app"); }
    static std::vector<std::string> loginItemPaths() {
        std::vector<std::string> paths;
        for (const auto& item : morvane::LoginItems().items())
            paths.push_back(item.path);
        return paths;
    }
    static std::vector<std::string> autostartEntries() {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(morvane::LoginItems::autostartFolder(), error))
            names.push_back(entry.path().filename().string());
        return names;
    }
    static Dictionary record(const std::string& key) {
        morvane::UserDefaults domain(tsyhotkey::kHotKeyDomain);
        auto value = domain.objectForKey(key);
        return value && value->asDictionary() ? *value->asDictionary() : Dictionary{};
    }
};

// The pane's logic over a stand-in pane of version 70506 for a private user.
class PaneTest : public ::testing::Test, public PaneUser {
protected:
    FakeAlertPort alerts;
    std::unique_ptr<PaneController> controller;

    void SetUp() override {
        makePane("70506");
        controller = std::make_unique<PaneController>(pane, alerts);
        controller->init();
    }
    ProductContext& row(const std::string& name) {
        for (ProductContext* context : controller->hotKeyData())
            if (context->name() == name)
                return *context;
        ADD_FAILURE() << "no row " << name;
        return *controller->hotKeyData().front();
    }
    static int keyIndex(const std::string& name) {
        const auto& keys = PaneController::keyArray();
        return static_cast<int>(std::find(keys.begin(), keys.end(), name) - keys.begin());
    }
};

} // namespace tessary::test
