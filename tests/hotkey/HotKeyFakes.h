#pragma once
// Fakes at the edges of the hot-key program: the platform's key registrar,
// the script engine and the desktop.
#include "HotKey/KeyRegistrar.h"
#include "HotKey/KxAppleScriptObject.h"
#include "HotKey/Workspace.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tsyhotkey::test {

class FakeRegistrar : public KeyRegistrar {
public:
    using Combination = std::pair<std::uint16_t, std::uint32_t>;

    HotKeyHandle registerKey(const HotKeyRequest& request) override {
        ++attempts;
        Combination combination{request.keyCode, request.modifierMask};
        if (refused.contains(combination))
            return 0;
        HotKeyHandle handle = nextHandle++;
        grabs[handle] = combination;
        return handle;
    }
    void unregisterKey(HotKeyHandle handle) override { grabs.erase(handle); }
    void commit() override { ++commits; }

    // The handle that holds the combination, or 0.
    HotKeyHandle holder(Combination combination) const {
        for (const auto& [handle, grabbed] : grabs)
            if (grabbed == combination)
                return handle;
        return 0;
    }

    std::map<HotKeyHandle, Combination> grabs;
    std::set<Combination> refused;
    HotKeyHandle nextHandle = 1;
    int attempts = 0;
    int commits = 0;
};

class FakeScriptEngine : public ScriptEngine {
public:
    bool compile(const std::string& source) override {
        compiled.push_back(source);
        return compiles;
    }
    bool execute(const std::string& source) override {
        executed.push_back(source);
        return true;
    }
    bool compiles = true;
    std::vector<std::string> compiled;
    std::vector<std::string> executed;
};

class FakeWorkspace : public Workspace {
public:
    bool fileManagerIsFrontmost() override { return fileManagerInFront; }
    bool launchApplication(const std::string& path) override {
        launched.push_back(path);
        return true;
    }
    void postWakeUpNotification() override { ++wakeUps; }

    bool fileManagerInFront = true;
    std::vector<std::string> launched;
    int wakeUps = 0;
};

} // namespace tsyhotkey::test
