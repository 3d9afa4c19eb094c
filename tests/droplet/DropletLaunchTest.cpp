// The application at a launch that finds a droplet's record: the old-droplet
// alert, a damaged chain, the droplet run (silent or not) and the droplet
// edit, saved back into the droplet, with the application's own settings
// untouched.
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/DropletHandOver.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "MRVN7x/app/FileListReader.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "platform/FileSpecification.h"
#include "platform/XdgPaths.h"
#include "tests/droplet/DropletTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace morvane;
using namespace morvane::test;

namespace {
// The application's own chain and global settings as a normal quit left them.
void saveApplicationSettings(UserDefaults& domain) {
    domain.setObject("composite action", flatChain({{"Add to end", {{"string", "_app"}}}}));
    domain.setObject("actions", plist::Dictionary{
                                    {"MRVN global settings",
                                     plist::Dictionary{{"showSummary", 1}, {"silentDroplet", 0}}}});
    domain.synchronize();
}

void putRecord(UserDefaults& domain, plist::Dictionary record) {
    domain.setObject(DefaultsKeys::dropletSettings, std::move(record));
    domain.synchronize();
}

plist::Dictionary dropletRecord(const std::vector<std::string>& files, int silent,
                                const std::string& settingsPath = "",
                                plist::Dictionary globals = {}) {
    globals.insert({{"silentDroplet", silent}, {"showSummary", 1}, {"interactiveMode", 0}});
    plist::Dictionary host{{"composite action", flatChain({{"Add to front", {{"string", "d_"}}}})},
                           {"global settings", globals}};
    return DropletHandOver::makeRecord(host, files, settingsPath, "");
}
} // namespace

TEST(DropletLaunch, ARecordWithoutAChainShowsTheOldDropletAlertIsRemovedAndEnds) {
    DropletEnvironment env;
    auto domain = env.domain();
    putRecord(*domain, plist::Dictionary{{"file list", plist::Array{"/x"}}});
    LaunchedController app(*domain);
    ASSERT_EQ(app.port.alerts.size(), 1u);
    EXPECT_EQ(app.port.alerts[0].title, "Cannot use this droplet.");
    EXPECT_EQ(app.port.alerts[0].buttons, std::vector<std::string>{"Quit"});
    EXPECT_EQ(app.port.alerts[0].text.rfind("This droplet appears to have been created with an "
                                            "early pre-release version of Morvane 7.",
                                            0),
              0u);
    EXPECT_EQ(app.port.terminations, 1);
    EXPECT_FALSE(env.domain()->hasStoredValue(DefaultsKeys::dropletSettings));
}

TEST(DropletLaunch, ADamagedChainRenamesNothing) {
    DropletEnvironment env;
    const std::string file = env.files.write("a.txt");
    auto domain = env.domain();
    for (const plist::Dictionary& chain :
         {flatChain({{"No such action", {}}}), plist::Dictionary{},
          plist::Dictionary{{"composite actions array", "text"}}}) {
        plist::Dictionary record = dropletRecord({file}, 1);
        record["composite action"] = chain;
        putRecord(*domain, record);
        LaunchedController app(*domain);
        EXPECT_EQ(app.port.alertTitles(), std::vector<std::string>{"Cannot use this droplet."});
        EXPECT_EQ(app.port.terminations, 1);
        EXPECT_NE(app.controller.operationMode(), MainController::DropletRun);
        EXPECT_TRUE(pathExists(file));
    }
}

TEST(DropletLaunch, ADropletRunRenamesWithTheDropletsSettingsAndSavesNothing) {
    DropletEnvironment env;
    auto domain = env.domain();
    saveApplicationSettings(*domain);
    const plist::Dictionary before = env.domain()->storedValues();
    std::vector<std::string> files;
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        files.push_back(env.files.write(name));
    putRecord(*domain, dropletRecord(files, 0));
    LaunchedController app(*domain);
    ASSERT_EQ(app.controller.operationMode(), MainController::DropletRun);
    // Not silent: the summary is shown, as the droplet's settings ask.
    app.port.alertAnswers.push_back(1);
    app.controller.runDroplet();
    for (const char* name : {"d_one.txt", "d_two.txt", "d_three.txt"})
        EXPECT_TRUE(pathExists(env.files / name)) << name;
    EXPECT_EQ(app.port.alertTitles(), std::vector<std::string>{"3 file names were changed."});
    EXPECT_EQ(app.port.terminations, 1);
    app.controller.applicationShouldTerminate();
    // The application's chain, settings and version are as they were; the record is gone.
    EXPECT_EQ(env.domain()->storedValues(), before);
}

// More files than the preview shows: no notice about a preview nobody sees.
TEST(DropletLaunch, ASilentDropletAsksNothingAndSkipsAnExistingTarget) {
    DropletEnvironment env;
    auto domain = env.domain();
    const std::string a = env.files.write("a.txt", "a");
    const std::string b = env.files.write("b.txt", "b");
    env.files.write("d_b.txt", "in the way");
    for (int i = 0; i < DynamicFileList::kCutOff; ++i)
        env.files.write("many/" + std::to_string(i));
    putRecord(*domain, dropletRecord({a, b, env.files / "many"}, 1, "",
                                     {{"processFolders", 0}, {"processSubfolders", 1}}));
    LaunchedController app(*domain);
    ASSERT_EQ(app.controller.operationMode(), MainController::DropletRun);
    app.controller.runDroplet();
    EXPECT_EQ(readFile(env.files / "d_a.txt"), "a");
    EXPECT_EQ(readFile(env.files / "b.txt"), "b");
    EXPECT_EQ(readFile(env.files / "d_b.txt"), "in the way");
    EXPECT_TRUE(pathExists(env.files / "many/d_0"));
    EXPECT_TRUE(app.port.alerts.empty());
    EXPECT_TRUE(app.port.confirmations.empty());
    EXPECT_TRUE(app.port.conflicts.empty());
    EXPECT_TRUE(app.port.dontShowAgainDialogs.empty());
}

TEST(DropletLaunch, AnEmptyFileListOpensTheEditorAndSaveWritesTheDropletOnly) {
    DropletEnvironment env;
    auto domain = env.domain();
    saveApplicationSettings(*domain);
    const std::string settingsPath = env.files / "Edit.app/Contents/Resources/Settings.plist";
    env.files.write("Edit.app/Contents/Resources/Settings.plist", "old");
    for (const plist::Value& list : {plist::Value(plist::Array{}), plist::Value("")}) {
        plist::Dictionary record = dropletRecord({}, 1, settingsPath);
        record["file list"] = list;
        putRecord(*domain, record);
        LaunchedController app(*domain);
        ASSERT_TRUE(app.controller.isInDropletEditMode());
        EXPECT_EQ(app.controller.dropletSettingsPath(), settingsPath);
        EXPECT_EQ(app.port.dontShowAgainDialogs,
                  std::vector<std::string>{"Droplet Edit Mode Information"});
        // The user changes the step and the silent box, then presses Save.
        EXPECT_TRUE(app.controller.compositeAction().setFlatParameterList(
            flatChain({{"Add to end", {{"string", "_edited"}}}})));
        app.controller.globalSettings().setValueForKey("silentDroplet", plist::Value(0));
        app.controller.ok();
        EXPECT_EQ(app.port.terminations, 1);
        const auto host = DropletSettingsFile::readHostSettings(settingsPath);
        ASSERT_TRUE(host) << host.messageIfFailed();
        EXPECT_EQ(host->at("composite action"),
                  plist::Value(app.controller.compositeAction().getFlatParameterList()));
        EXPECT_EQ(plist::find(*host->at("global settings").asDictionary(), "silentDroplet")
                      ->numberValue(),
                  0);
        app.controller.applicationShouldTerminate();
        // A normal start afterwards has the application's own chain and settings.
        auto after = env.domain();
        EXPECT_EQ(*after->objectForKey("composite action"),
                  plist::Value(flatChain({{"Add to end", {{"string", "_app"}}}})));
        LaunchedController normal(*after);
        EXPECT_EQ(normal.controller.operationMode(), MainController::Normal);
        const auto& steps = normal.controller.compositeAction().getActionDictionaryList();
        ASSERT_EQ(steps.size(), 1u);
        EXPECT_EQ(steps[0]->actionName(), "Add to end");
        EXPECT_EQ(steps[0]->getParamText("string"), u"_app");
    }
}

TEST(DropletLaunch, ADropletThatCannotBeSavedKeepsTheEditorOpen) {
    DropletEnvironment env;
    auto domain = env.domain();
    env.files.write("blocker", "a file where a folder should be");
    putRecord(*domain, dropletRecord({}, 0, env.files / "blocker/Settings.plist"));
    LaunchedController app(*domain);
    ASSERT_TRUE(app.controller.isInDropletEditMode());
    app.controller.ok();
    EXPECT_EQ(app.port.alertTitles(), std::vector<std::string>{"The droplet could not be saved."});
    EXPECT_EQ(app.port.terminations, 0);
    EXPECT_FALSE(app.controller.terminationRequested());
}

TEST(DropletLaunch, ItemsHandedOverByTheContextMenuAreLeftForTheNextOrdinaryLaunch) {
    DropletEnvironment env;
    auto domain = env.domain();
    const std::string dropped = env.files.write("dropped.txt");
    const std::string handedOver = XdgPaths::home() + "/handed over.txt";
    std::ofstream(handedOver) << "x";
    const auto spec = FileSpecification::forPath(handedOver);
    ASSERT_TRUE(spec);
    const std::string file = FileListReader::handOverFilePaths()[0];
    const auto record = spec->record();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(record.data()), record.size());

    putRecord(*domain, dropletRecord({dropped}, 1));
    {
        LaunchedController app(*domain);
        ASSERT_EQ(app.controller.operationMode(), MainController::DropletRun);
        EXPECT_EQ(app.controller.rawFileList().array(), std::vector<std::string>{dropped});
        EXPECT_TRUE(pathExists(file));
    }
    LaunchedController ordinary(*domain);
    EXPECT_EQ(ordinary.controller.rawFileList().array(), std::vector<std::string>{handedOver});
    EXPECT_FALSE(pathExists(file));
    std::filesystem::remove(handedOver);
}
