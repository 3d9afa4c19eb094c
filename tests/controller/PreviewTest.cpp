#include "tests/controller/ControllerFixture.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {
Step completelyRename(const std::string& name) {
    return {"Completely rename", {{"newName", plist::Value(name)}}};
}
Step replaceText(const std::string& search, const std::string& with) {
    return {"Replace text",
            {{"search term", plist::Value(search)}, {"replacement term", plist::Value(with)}}};
}
std::vector<bool> warnings(const MainController& controller) {
    std::vector<bool> marks;
    for (const auto& entry : controller.previewEntries())
        marks.push_back(entry.warning);
    return marks;
}
} // namespace

TEST(Preview, ConflictsAreNewPathsSharedWithinTheList) {
    struct Case {
        const char* what;
        std::vector<std::string> files;
        Step step;
        bool conflict;
    };
    const std::vector<Case> cases = {
        {"one folder, one name", {"a.txt", "b.txt"}, completelyRename("same.txt"), true},
        {"names differing only in case",
         {"a", "A"},
         {"Add to end", {{"string", plist::Value("_")}}},
         false},
        {"different folders", {"one/a.txt", "two/b.txt"}, completelyRename("same.txt"), false},
        {"a kept name meets a new one", {"x", "y"}, replaceText("y", "x"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ControllerFixture f;
        f.setChain({c.step});
        std::vector<std::string> paths;
        for (const auto& name : c.files)
            paths.push_back(f.add(name));
        f.addToList(paths);
        EXPECT_EQ(f.controller.wasConflictDetected(), c.conflict);
        EXPECT_EQ(f.controller.previewColumns().warning, c.conflict);
        for (bool mark : warnings(f.controller))
            EXPECT_EQ(mark, c.conflict);
    }
}

TEST(Preview, WarningColumnGoesAwayWithTheConflict) {
    ControllerFixture f;
    f.setChain({completelyRename("same")});
    f.addToList({f.add("a"), f.add("b")});
    EXPECT_TRUE(f.controller.previewColumns().warning);
    f.setChain({{"Add to end", {{"string", plist::Value("_1")}}}});
    f.controller.updatePreview();
    EXPECT_FALSE(f.controller.previewColumns().warning);
    EXPECT_FALSE(f.controller.wasConflictDetected());
}

TEST(Preview, RowsCarryOldNameFolderRootAndDiff) {
    ControllerFixture f;
    f.setChain({replaceText("zzz", "y")}); // changes nothing
    const std::string folder = f.files.makeFolder("album");
    f.add("album/a:b.jpg");
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.addToList({folder});
    ASSERT_EQ(f.controller.previewEntries().size(), 2u);
    for (const auto& entry : f.controller.previewEntries()) {
        EXPECT_FALSE(entry.diff);
        if (entry.oldName == u"a/b.jpg") {
            EXPECT_FALSE(entry.root);
            EXPECT_EQ(entry.path, folder);
        } else {
            EXPECT_TRUE(entry.root);
            EXPECT_EQ(entry.oldName, u"album");
        }
    }
}

TEST(Preview, TenChangesWithinTheDelayGiveOneRefresh) {
    ControllerFixture f;
    f.setChain({{"Add to end", {{"string", plist::Value("")}}}});
    f.addToList({f.add("photo.jpg")});
    f.timer.advance(1);
    const int refreshes = f.controller.previewRefreshCount();
    const int starts = f.timer.starts;
    BaseRenameAction* step = f.controller.compositeAction().getCurrentAction();
    step->registerObserverForAllValues(&f.controller);
    for (int i = 0; i < 10; ++i) {
        step->setValueForKey("string", plist::Value(std::to_string(i)));
        f.timer.advance(0.015);
    }
    EXPECT_EQ(f.controller.previewRefreshCount(), refreshes);
    EXPECT_EQ(f.timer.starts, starts + 1);
    // Due 0.2 seconds after the first change, not after the last.
    f.timer.advance(0.2 - 0.15 + 0.001);
    EXPECT_EQ(f.controller.previewRefreshCount(), refreshes + 1);
    EXPECT_EQ(f.newNames(), (std::vector<std::u16string>{u"photo.jpg9"}));
    f.timer.advance(1);
    EXPECT_EQ(f.controller.previewRefreshCount(), refreshes + 1);
}

TEST(ChainCheck, NoActiveStep) {
    ControllerFixture f;
    f.setChain({{"Add to end", {{"active", plist::Value(0)}}},
                {"Manually rename", {{"active", plist::Value(0)}}}});
    EXPECT_FALSE(f.controller.validateActionList());
    ASSERT_EQ(f.port.alerts.size(), 1u);
    EXPECT_EQ(f.port.alerts[0].title, "There are no active renaming actions.");
}

TEST(ChainCheck, ManualStepMustBeSingleAndLast) {
    struct Case {
        std::vector<std::string> steps;
        bool passes;
    };
    const std::vector<Case> cases = {
        {{"Replace text", "Manually rename"}, true},
        {{"Manually rename"}, true},
        {{"Manually rename", "Replace text"}, false},
        {{"Replace text", "Manually rename", "Manually rename"}, false},
    };
    for (const auto& c : cases) {
        ControllerFixture f;
        std::vector<Step> steps;
        for (const auto& name : c.steps)
            steps.push_back({name, {}});
        f.setChain(steps);
        f.port.alertAnswers = {0}; // "Let me correct the problem"
        EXPECT_EQ(f.controller.validateActionList(), c.passes) << c.steps.front();
        EXPECT_EQ(f.controller.compositeAction().count(), static_cast<int>(c.steps.size()));
        if (!c.passes) {
            EXPECT_EQ(f.port.alerts.back().title,
                      "There can only be a single \"Manual Rename\" action and it must be the "
                      "last  action to be performed.");
        }
    }
}

TEST(ChainCheck, RepairKeepsTheFirstManualStepAndMovesItToTheEnd) {
    ControllerFixture f;
    f.setChain({{"Manually rename", {{"select string", plist::Value("first")}}},
                {"Manually rename", {{"select string", plist::Value("second")}}},
                replaceText("a", "b")});
    f.port.alertAnswers = {1}; // "Solve the problem for me"
    EXPECT_FALSE(f.controller.validateActionList());
    CompositeRenameAction& chain = f.controller.compositeAction();
    ASSERT_EQ(chain.count(), 2);
    const auto& steps = chain.getActionDictionaryList();
    EXPECT_EQ(steps[0]->actionName(), "Replace text");
    EXPECT_EQ(steps[1]->actionName(), "Manually rename");
    EXPECT_EQ(steps[1]->getParamString("select string"), "first");
    EXPECT_EQ(chain.getCurrentActionIndexAsInt(), 1);
    EXPECT_TRUE(f.controller.validateActionList());
}

TEST(Controller, RefusedPathsAlertOncePerPathOrBeep) {
    ControllerFixture f;
    const std::string folder = f.files.makeFolder("folder");
    const std::string inside = f.add("folder/inside.txt");
    const std::string other = f.add("other.txt");
    const std::string vanished = f.files / "vanished.txt";
    using Addition = MainController::PathAddition;
    EXPECT_EQ(f.controller.addFilePaths({folder, inside, other, inside, vanished}, true),
              (std::vector<Addition>{Addition::Added, Addition::Covered, Addition::Added,
                                     Addition::Covered, Addition::Missing}));
    EXPECT_EQ(f.port.alertTitles(), (std::vector<std::string>{"Some files could not be added.",
                                                              "Some files could not be added.",
                                                              "An item could not be added."}));
    EXPECT_EQ(f.controller.rawFileList().count(), 2);
    EXPECT_EQ(f.controller.addFilePaths({inside, vanished, folder}, false),
              (std::vector<Addition>{Addition::Covered, Addition::Missing, Addition::Covered}));
    EXPECT_EQ(f.port.beeps, 3);
    // One path at a time: no alert, no beep, and the expanded list waits for its update.
    const int expanded = f.controller.dynamicFileList().count();
    const std::string later = f.files.write("later.txt");
    EXPECT_EQ(f.controller.addFilePath(later), Addition::Added);
    EXPECT_EQ(f.controller.addFilePath(later), Addition::Covered);
    EXPECT_EQ(f.controller.addFilePath(f.files / "never"), Addition::Missing);
    EXPECT_EQ(f.port.beeps, 3);
    EXPECT_EQ(f.port.alertTitles().size(), 3u);
    EXPECT_EQ(f.controller.rawFileList().count(), 3);
    EXPECT_EQ(f.controller.dynamicFileList().count(), expanded);
}

TEST(Controller, FilesOpenedBeforeLaunchSkipTheLegalityTest) {
    TempDir files, settings;
    UserDefaults defaults("net.halvard.mrvn7", settings.path());
    ActionList registry(defaults);
    FakePort port;
    MainController controller(port, defaults, registry);
    const std::string folder = files.makeFolder("f");
    const std::string inside = files.write("f/in");
    EXPECT_TRUE(controller.applicationOpenFile(folder));
    EXPECT_TRUE(controller.applicationOpenFile(inside));
    EXPECT_EQ(controller.rawFileList().count(), 2);
}

TEST(Controller, StepCommandsKeepTheChainValid) {
    ControllerFixture f;
    f.setChain({replaceText("a", "b"),
                {"Add to end", {{"string", plist::Value("1")}}},
                {"Make uppercase", {}}});
    CompositeRenameAction& chain = f.controller.compositeAction();
    // Removing the last step while it is current leaves the second current.
    f.controller.removeAction();
    EXPECT_EQ(chain.count(), 2);
    EXPECT_EQ(chain.getCurrentActionIndexAsInt(), 1);
    f.controller.nudgeActionDown();
    EXPECT_EQ(f.port.beeps, 1);
    chain.setCurrentActionIndex(0);
    f.controller.nudgeActionUp();
    EXPECT_EQ(f.port.beeps, 2);
    // Adding copies the current step right after it.
    f.controller.addAction();
    ASSERT_EQ(chain.count(), 3);
    EXPECT_EQ(chain.getActionDictionaryList()[1]->actionName(), "Replace text");
    EXPECT_EQ(chain.getActionDictionaryList()[1]->getParamString("search term"), "a");
    EXPECT_EQ(chain.getCurrentActionIndexAsInt(), 1);
    // Removing the first step leaves the new first step current.
    chain.setCurrentActionIndex(0);
    f.controller.removeAction();
    EXPECT_EQ(chain.getCurrentActionIndexAsInt(), 0);
    f.controller.clearActions();
    EXPECT_EQ(chain.count(), 1);
    f.controller.removeAction(); // never below one step
    EXPECT_EQ(chain.count(), 1);
}

TEST(Controller, QuittingSavesTheChainAndVersionInNormalModeOnly) {
    ControllerFixture f;
    f.setChain({replaceText("a", "b")});
    f.controller.applicationShouldTerminate();
    UserDefaults reread("net.halvard.mrvn7", f.settings.path());
    EXPECT_EQ(*reread.objectForKey("version"), plist::Value(75600));
    EXPECT_TRUE(reread.objectForKey("composite action"));

    ControllerFixture droplet;
    droplet.controller.setOperationMode(MainController::DropletRun);
    droplet.controller.applicationShouldTerminate();
    UserDefaults untouched("net.halvard.mrvn7", droplet.settings.path());
    EXPECT_FALSE(untouched.objectForKey("version"));
    EXPECT_FALSE(untouched.objectForKey("composite action"));
}

TEST(Controller, AChainOfSeveralStepsShowsItsStepsPane) {
    ControllerFixture f;
    EXPECT_EQ(f.controller.globalSettings().getParamInt("multistep", -1), 0);
    f.controller.showMultistepDrawer(); // one step: the setting stays off
    EXPECT_EQ(f.controller.globalSettings().getParamInt("multistep", -1), 0);
    f.controller.addAction();
    f.controller.showMultistepDrawer();
    EXPECT_EQ(f.controller.globalSettings().getParamInt("multistep", -1), 1);
}

TEST(Controller, EachFileListHasItsOwnAttributeService) {
    ControllerFixture f;
    const std::string file = f.add("a.txt", "12345");
    f.addToList({file});
    EXPECT_EQ(f.controller.fileManager().fileLength(file), 5);
    f.add("a.txt", "1234567");
    EXPECT_EQ(f.controller.fileManager().fileLength(file), 5); // cached
    f.controller.clearList();
    EXPECT_EQ(f.controller.rawFileList().count(), 0);
    EXPECT_EQ(f.controller.fileManager().fileLength(file), 7);
}

// Every step that reads attributes asks the list's service, whose "now" is
// the moment of the latest refresh.
TEST(Controller, StepsReadTheListsAttributeServiceAndItsNow) {
    ControllerFixture f;
    const std::string song = f.add("song.mp3", "no tags");
    const std::string image = f.add("image.png", "not an image");
    for (const char* step : {"MP3 rename", "Add dimensions"}) {
        f.setChain({{step, {}}});
        f.addToList({song, image});
    }
    const FileManager::ReadCounts counts = f.controller.fileManager().readCounts();
    EXPECT_GE(counts.audioTags, 1u);
    EXPECT_GE(counts.pixelSizes, 1u);
    const double before = f.controller.fileManager().now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    f.controller.updatePreview();
    EXPECT_GT(f.controller.fileManager().now(), before);
}

TEST(Controller, OpenedFilesAfterLaunchAreTestedAndRefreshLater) {
    ControllerFixture f;
    const std::string folder = f.files.makeFolder("f");
    const std::string inside = f.add("f/in");
    const int refreshes = f.controller.previewRefreshCount();
    EXPECT_TRUE(f.controller.applicationOpenFile(folder));
    EXPECT_TRUE(f.controller.applicationOpenFile(inside)); // refused, with a beep
    EXPECT_EQ(f.port.beeps, 1);
    EXPECT_EQ(f.controller.rawFileList().count(), 1);
    EXPECT_EQ(f.controller.previewRefreshCount(), refreshes);
    f.timer.advance(0.25);
    EXPECT_EQ(f.controller.previewRefreshCount(), refreshes + 1);
}

TEST(Controller, RemoveFileTakesOnlyRootRows) {
    ControllerFixture f;
    f.setChain({{"Add to end", {{"string", plist::Value("_")}}}});
    const std::string folder = f.files.makeFolder("album");
    f.add("album/inner");
    const std::string loose = f.add("loose");
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.addToList({folder, loose});
    ASSERT_EQ(f.controller.previewEntries().size(), 3u);
    std::vector<int> all = {0, 1, 2};
    int innerRow = -1;
    for (int i = 0; i < 3; ++i)
        if (f.controller.previewEntries()[static_cast<size_t>(i)].oldName == u"inner")
            innerRow = i;
    f.controller.removeFile({innerRow});
    EXPECT_EQ(f.controller.previewEntries().size(), 3u); // an expanded row cannot be removed
    f.controller.removeFile(all);
    EXPECT_TRUE(f.controller.isPreviewEmpty());
    EXPECT_EQ(f.controller.rawFileList().count(), 0);
}
