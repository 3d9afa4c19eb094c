// Creating a droplet from the current settings: the save panel's name, the
// copy of the template, exactly the two dictionaries of "Settings.plist", the
// launcher beside it, replacing a droplet completely, and the failures.
#include "MRVN7x/app/DropletLauncherFile.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "platform/Bundle.h"
#include "platform/XdgPaths.h"
#include "tests/droplet/DropletTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::test;

namespace {
std::set<std::string> keysOf(const plist::Dictionary& dict) {
    std::set<std::string> keys;
    for (const auto& [key, value] : dict)
        keys.insert(key);
    return keys;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct Creator {
    DropletEnvironment env;
    std::unique_ptr<UserDefaults> defaults = env.domain();
    LaunchedController app{*defaults};

    Creator() {
        EXPECT_TRUE(app.controller.compositeAction().setFlatParameterList(
            flatChain({{"Add to front", {{"string", "new_"}}}})));
        // The notice was read once and silenced.
        app.port.dontShowAgainAnswers.push_back({1, true});
    }
    void create(const std::optional<std::string>& chosen) {
        app.port.bundleSavePanelAnswers.push_back(chosen);
        app.controller.createDroplet();
    }
    plist::Dictionary settingsOf(const std::string& droplet) {
        auto value = plist::readFile(droplet + "/Contents/Resources/Settings.plist");
        return value && value->asDictionary() ? *value->asDictionary() : plist::Dictionary{};
    }
};
} // namespace

TEST(CreateDroplet, TheChosenNameEndsInAppOnceAndTheBundleHoldsExactlyTheSettings) {
    for (const std::string chosen : {"Photos", "Photos.app", "Photos.jpg"}) {
        SCOPED_TRACE(chosen);
        Creator c;
        c.create(c.env.files / chosen);
        const std::string droplet = c.env.files / "Photos.app";
        EXPECT_EQ(namesIn(c.env.files.path()),
                  (std::set<std::string>{"Photos.app", "Photos.desktop"}));
        ASSERT_EQ(c.app.port.bundleSavePanels.size(), 1u);
        EXPECT_EQ(c.app.port.bundleSavePanels[0].title, "Save Droplet");
        EXPECT_EQ(c.app.port.bundleSavePanels[0].extension, "app");
        EXPECT_EQ(c.app.port.bundleSavePanels[0].folder, XdgPaths::home());
        EXPECT_TRUE(c.app.port.alerts.empty());

        const plist::Dictionary settings = c.settingsOf(droplet);
        EXPECT_EQ(keysOf(settings),
                  (std::set<std::string>{"Droplet Settings", "Host Application Settings"}));
        const auto& handover = *plist::find(settings, "Droplet Settings")->asDictionary();
        EXPECT_EQ(keysOf(handover), (std::set<std::string>{"default location", "location key",
                                                           "temporary settings key"}));
        EXPECT_EQ(*plist::find(handover, "location key"), plist::Value("net.halvard.mrvn7"));
        EXPECT_EQ(*plist::find(handover, "temporary settings key"),
                  plist::Value("droplet settings"));
        const auto& host = *plist::find(settings, "Host Application Settings")->asDictionary();
        EXPECT_EQ(keysOf(host), (std::set<std::string>{"composite action", "global settings"}));
        EXPECT_EQ(*plist::find(host, "composite action"),
                  plist::Value(c.app.controller.compositeAction().getFlatParameterList()));
        EXPECT_EQ(*plist::find(host, "global settings"),
                  plist::Value(c.app.controller.globalSettings().parameterList()));

        struct stat info {};
        ASSERT_EQ(stat(droplet.c_str(), &info), 0);
        const mode_t mask = umask(0);
        umask(mask);
        EXPECT_EQ(info.st_mode & 0777, 0777 & ~mask); // a folder like any other, not private

        // The template's program and Info.plist, and a launcher that runs them.
        EXPECT_EQ(Bundle::version(droplet), Bundle::version(builtTemplate()));
        const std::string program = Bundle::executablePath(droplet);
        EXPECT_EQ(access(program.c_str(), X_OK), 0);
        const std::string launcher = readFile(c.env.files / "Photos.desktop");
        EXPECT_NE(launcher.find("Exec=" + DropletLauncherFile::execLine(program)),
                  std::string::npos);
        EXPECT_NE(launcher.find("X-Morvane-Droplet=" + droplet), std::string::npos);
    }
}

TEST(CreateDroplet, SavingOverADropletReplacesItCompletelyAndNothingElseIsReplaced) {
    Creator c;
    c.create(c.env.files / "Shots.app");
    const std::string droplet = c.env.files / "Shots.app";
    c.env.files.write("Shots.app/Contents/Resources/stale", "old");
    // Even a droplet whose settings are damaged is replaced.
    c.env.files.write("Shots.app/Contents/Resources/Settings.plist", "<plist><dict>");
    EXPECT_TRUE(c.app.controller.compositeAction().setFlatParameterList(
        flatChain({{"Add to end", {{"string", "_2"}}}})));
    c.create(droplet);
    EXPECT_FALSE(pathExists(droplet + "/Contents/Resources/stale"));
    const auto host = DropletSettingsFile::readHostSettings(droplet);
    ASSERT_TRUE(host) << host.messageIfFailed();
    EXPECT_EQ(host->at("composite action"),
              plist::Value(c.app.controller.compositeAction().getFlatParameterList()));
    EXPECT_EQ(namesIn(c.env.files.path()), (std::set<std::string>{"Shots.app", "Shots.desktop"}));

    // A folder that is no droplet, and a launcher that is not ours, stay as they are.
    c.env.files.write("Docs.app/letter.txt", "keep");
    c.env.files.write("Notes.desktop", "mine");
    c.create(c.env.files / "Docs.app");
    ASSERT_EQ(c.app.port.alertTitles(), std::vector<std::string>{"Cannot create droplet."});
    EXPECT_EQ(namesIn(c.env.files / "Docs.app"), std::set<std::string>{"letter.txt"});
    c.create(c.env.files / "Notes");
    EXPECT_EQ(readFile(c.env.files / "Notes.desktop"), "mine");
    EXPECT_TRUE(pathExists(c.env.files / "Notes.app/Contents/Resources/Settings.plist"));
}

TEST(CreateDroplet, AFolderThatCannotBeWrittenGetsTheAlertAndNoPartialDroplet) {
    Creator c;
    c.env.files.write("plain-file", "x");
    c.create(c.env.files / "plain-file/Droplet"); // a file is no folder to write into
    ASSERT_EQ(c.app.port.alerts.size(), 1u);
    EXPECT_EQ(c.app.port.alerts[0].title, "Cannot create droplet.");
    EXPECT_EQ(c.app.port.alerts[0].text,
              "An error ocurred while attempting to create the droplet. You may not have "
              "sufficient access privileges for the containing folder.");
    EXPECT_EQ(namesIn(c.env.files.path()), std::set<std::string>{"plain-file"});

    // Without a template in the resources nothing is left behind either.
    std::filesystem::remove_all(c.env.resources / "Components");
    c.create(c.env.files / "Lost");
    EXPECT_EQ(c.app.port.alerts.size(), 2u);
    EXPECT_EQ(namesIn(c.env.files.path()), std::set<std::string>{"plain-file"});
}

TEST(CreateDroplet, TheNoticesAnswersAndTheSilentDropletWarning) {
    Creator c;
    c.app.port.dontShowAgainAnswers.clear();
    c.app.port.dontShowAgainAnswers.push_back({3, false}); // Help
    c.app.controller.createDroplet();
    EXPECT_EQ(c.app.port.helpPages.size(), 1u);
    c.app.port.dontShowAgainAnswers.push_back({2, false}); // Cancel
    c.app.controller.createDroplet();
    EXPECT_TRUE(c.app.port.bundleSavePanels.empty());
    EXPECT_EQ(c.app.port.dontShowAgainDialogs,
              (std::vector<std::string>{"Droplet Information", "Droplet Information"}));

    c.app.port.dontShowAgainAnswers.push_back({1, true}); // OK, not again
    c.create(std::nullopt);                               // the panel cancelled
    c.app.controller.globalSettings().setValueForKey("silentDroplet", plist::Value(1));
    c.create(c.env.files / "Quiet");
    EXPECT_EQ(c.app.port.dontShowAgainDialogs.size(), 3u);
    ASSERT_EQ(c.app.port.alertTitles(),
              std::vector<std::string>{"You have created a silent mode droplet."});
    const auto host = DropletSettingsFile::readHostSettings(c.env.files / "Quiet.app");
    ASSERT_TRUE(host) << host.messageIfFailed();
    EXPECT_EQ(
        plist::find(*host->at("global settings").asDictionary(), "silentDroplet")->numberValue(),
        1);
}
