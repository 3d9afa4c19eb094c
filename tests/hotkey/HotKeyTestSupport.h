#pragma once
// A private user for the hot-key tests (preferences, application support and
// applications folder in a temporary folder) and the program's logic over
// fakes of the registrar, the scripts and the desktop.
#include "HotKey/AppController.h"
#include "tests/hotkey/HotKeyFakes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace tsyhotkey::test {

using morvane::UserDefaults;
using morvane::plist::Dictionary;
using morvane::plist::Value;
using morvane::test::TempDir;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_.empty())
            unsetenv(name_);
        else
            setenv(name_, old_.c_str(), 1);
    }

private:
    const char* name_;
    std::string old_;
};

// A private user: preferences, application support and the applications
// folder in a temporary folder, with helpers that install products and write
// the shared domains as the preference pane would.
struct PrivateUser {
    TempDir root{"hotkey"};
    ScopedEnv config{"XDG_CONFIG_HOME", root / "config"};
    ScopedEnv data{"XDG_DATA_HOME", root / "data"};
    ScopedEnv applications{"OSSVALE_APPLICATIONS_DIR", root / "Applications"};

    PrivateUser() {
        root.makeFolder("config");
        root.makeFolder("data");
        root.makeFolder("Applications/Utilities");
    }
    std::string installInSupport(const std::string& name) {
        return root.makeFolder("data/" + name);
    }
    void installEverything() {
        root.makeFolder("Applications/Morvane 7.app");
        installInSupport("Pirnow.app");
        installInSupport("Quenby.app");
        installInSupport("TSY Grulkan.app");
        installInSupport("Tambrel.app");
    }
    // Writes a product's record into the hot-key domain.
    static void writeRecord(const std::string& key, std::int64_t keyCode, std::int64_t modifiers,
                            const char* switchedOn, const char* keyString = "R") {
        Dictionary record{{"keyCode", Value(keyCode)},
                          {"keyModifier", Value(modifiers)},
                          {"keyString", Value(keyString)}};
        if (switchedOn)
            record["switchedOn"] = Value(switchedOn);
        writeDomainValue(kHotKeyDomain, key, Value(record));
    }
    static void writeDomainValue(const std::string& domain, const std::string& key, Value value) {
        UserDefaults pane(domain);
        pane.setObject(key, std::move(value));
        ASSERT_TRUE(pane.synchronize());
    }
};

// The hot-key program's logic for a private user over fakes of the registrar,
// the scripts and the desktop.
class HotKeyTest : public ::testing::Test, public PrivateUser {
protected:
    FakeRegistrar registrar;
    FakeScriptEngine scripts;
    FakeWorkspace workspace;
    HotKeyApplication application{registrar};
    std::unique_ptr<AppController> controller;

    void SetUp() override {
        controller = std::make_unique<AppController>(application, workspace, scripts);
    }
};

} // namespace tsyhotkey::test
