#pragma once
// Shared pieces of the chain tests: a registry over a private preferences
// domain, saved chains written by hand, and recorders for observers and logs.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/engine/FileManager.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace morvane::test {

// A registry and a chain over a preferences domain in a temporary folder.
struct ChainFixture {
    TempDir folder{"chain"};
    std::unique_ptr<UserDefaults> defaults =
        std::make_unique<UserDefaults>("net.halvard.mrvn7", folder.path());
    std::unique_ptr<ActionList> registry = std::make_unique<ActionList>(*defaults);
    std::unique_ptr<CompositeRenameAction> chain = makeAction<CompositeRenameAction>(*registry);
};

struct SavedStep {
    std::string name;
    plist::Dictionary parameters;
};

inline plist::Dictionary savedChain(const std::vector<SavedStep>& steps, int currentIndex) {
    plist::Array entries;
    for (const auto& step : steps)
        entries.push_back(plist::Value(
            plist::Dictionary{{"action name", plist::Value(step.name)},
                              {"action parameter list", plist::Value(step.parameters)}}));
    return {{"currentActionIndex", plist::Value(currentIndex)},
            {"composite actions array", plist::Value(std::move(entries))}};
}

// The chain's new name for the item at path.
inline std::u16string runChain(CompositeRenameAction& chain, const std::string& path) {
    InputContext input{path, PathText::displayNameOfPath(path), &FileManager::instance()};
    OutputContext output;
    chain.executeWithInputContext(input, output);
    return output.newName;
}

inline std::vector<std::string> stepNames(const CompositeRenameAction& chain) {
    std::vector<std::string> names;
    for (const auto& step : chain.getActionDictionaryList())
        names.push_back(step->actionName());
    return names;
}

struct RecordingObserver : KeyValueObserver {
    std::vector<std::string> keys;
    void observeValueForKey(const std::string& key, BaseAction&, const std::optional<plist::Value>&,
                            const std::optional<plist::Value>&) override {
        keys.push_back(key);
    }
    int count(const std::string& key) const {
        return static_cast<int>(std::count(keys.begin(), keys.end(), key));
    }
};

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        SystemLog::setSink([this](SystemLog::Level, const std::string& m) { lines.push_back(m); });
    }
    ~LogCapture() { SystemLog::setSink({}); }
    bool contains(const std::string& text) const {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }
};

} // namespace morvane::test
