#pragma once
// A controller over real files in a temporary folder, with a scripted user
// and a fake clock.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/engine/FileManager.h"
#include "tests/support/FakePort.h"
#include "tests/support/FakeTimer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace morvane::test {

struct Step {
    std::string name;
    plist::Dictionary parameters;
};

struct ControllerFixture {
    TempDir files{"files"};
    TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    ActionList registry{defaults};
    FakePort port;
    FakeTimer timer;
    MainController controller{port, defaults, registry, &timer};

    ControllerFixture() {
        controller.applicationDidFinishLaunching();
        timer.advance(1); // the first preview
        controller.globalSettings().setValueForKey("interactiveMode", plist::Value(0));
        controller.globalSettings().setValueForKey("showSummary", plist::Value(1));
        timer.advance(1);
    }

    // Replaces the chain with these steps; the last one is current.
    void setChain(const std::vector<Step>& steps) {
        plist::Array array;
        for (const auto& step : steps)
            array.push_back(plist::Value(
                plist::Dictionary{{"action name", plist::Value(step.name)},
                                  {"action parameter list", plist::Value(step.parameters)}}));
        EXPECT_TRUE(controller.compositeAction().setFlatParameterList(plist::Dictionary{
            {"currentActionIndex", plist::Value(static_cast<int>(steps.size()) - 1)},
            {"composite actions array", plist::Value(array)}}));
    }

    std::string add(const std::string& relative, const std::string& content = "x") {
        return files.write(relative, content);
    }

    void addToList(const std::vector<std::string>& paths) {
        controller.addFilePaths(paths, true);
        controller.updatePreview();
    }

    // Runs the rename as the OK button without quitting does.
    void rename() {
        controller.updatePreview();
        controller.applyButDontQuit();
    }

    std::vector<std::u16string> newNames() const {
        std::vector<std::u16string> names;
        for (const auto& entry : controller.previewEntries())
            names.push_back(entry.newName);
        return names;
    }
};

} // namespace morvane::test
