// The real "Tessary Context Menu.plugin" installed through the component
// machinery into a private home: its installer places an entry for every file
// manager, leaves the entries of others alone, and its uninstaller takes back
// exactly what it placed.
#include "MRVN7x/InstallationComponent/MRVNInstallationManager.h"
#include "platform/Bundle.h"
#include "platform/Workspace.h"
#include "tests/support/ContextMenuHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

using namespace morvane;
namespace fs = std::filesystem;

namespace {
constexpr const char* kForeignAction = "<action>\n"
                                       "\t<icon>utilities-terminal</icon>\n"
                                       "\t<name>Open Terminal Here</name>\n"
                                       "\t<unique-id>1700000000000001-1</unique-id>\n"
                                       "\t<command>exo-open --launch TerminalEmulator</command>\n"
                                       "\t<patterns>*</patterns>\n"
                                       "\t<directories/>\n"
                                       "</action>\n";

std::string thunarFile(const std::string& actions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n" + actions + "</actions>\n";
}

bool isValidXml(const std::string& path) {
    return Workspace::runAndWait("xmllint", {"--noout", path}) == 0;
}

bool isExecutable(const std::string& path) {
    return access(path.c_str(), X_OK) == 0;
}

std::string contextMenuPlugin(const test::ContextMenuHome& home) {
    return home.dataHome() + "/Ossvale/Contextual Menu Items/Tessary Context Menu.plugin";
}

// The home without the folders of the installed components, which stay
// once made, as for every component.
std::map<std::string, std::string> outsideOssvale(const test::ContextMenuHome& home) {
    auto items = test::snapshot(home.home.path());
    std::erase_if(
        items, [](const auto& item) { return item.first.find("/Ossvale") != std::string::npos; });
    return items;
}

// Lines of desktop-file-validate's verdict other than the two that every KDE
// service menu draws (its keys are only known for applications).
std::string validatorComplaints(const std::string& path) {
    const std::string out = path + ".verdict";
    Workspace::runAndWait("/bin/sh",
                          {"-c", "desktop-file-validate \"$0\" >\"$1\" 2>&1", path, out});
    std::ifstream in(out);
    std::string line, complaints;
    while (std::getline(in, line))
        if (line.find("but the type is \"Service\"") == std::string::npos)
            complaints += line + "\n";
    fs::remove(out);
    return complaints;
}
} // namespace

TEST(ContextMenuComponent, InstallPlacesEveryEntryAndUninstallLeavesNothingBehind) {
    struct Case {
        const char* name;
        const char* thunar;                // uca.xml before, nullptr: none; "actions": the user's
                                           // action; "linked": the same, kept elsewhere and linked
        bool foreignScript;                // a Nautilus script of the user's
        const char* thunarAfter = nullptr; // uca.xml after, when not as before
    };
    const Case cases[] = {
        {"a fresh home", nullptr, false},
        {"the user's own Thunar action and Nautilus script", "actions", true},
        {"Thunar's actions a link to a kept dotfile", "linked", false},
        // The same empty list, written out.
        {"an empty Thunar action list", "<actions/>\n", false, "<actions>\n</actions>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ContextMenuHome home;
        fs::create_directories(home.dataHome());
        const std::string foreign = home.dataHome() + "/nautilus/scripts/Resize images";
        if (c.foreignScript)
            home.home.write(".local/share/nautilus/scripts/Resize images", "#!/bin/sh\n");
        const std::string thunar = c.thunar ? c.thunar : "";
        const bool foreignAction = thunar == "actions" || thunar == "linked";
        if (thunar == "linked") {
            home.home.write("dotfiles/uca.xml", thunarFile(kForeignAction));
            fs::create_directories(home.configHome() + "/Thunar");
            fs::create_symlink("../../dotfiles/uca.xml", home.thunarActions());
        } else if (c.thunar) {
            home.home.write(".config/Thunar/uca.xml",
                            foreignAction ? thunarFile(kForeignAction) : thunar);
        }
        auto before = test::snapshot(home.home.path());

        MRVNInstallationManager manager;
        ASSERT_TRUE(manager.installContextMenu());
        for (const std::string& entry :
             {home.nautilusScript(), home.dolphinMenu(), home.dolphin5Menu(), home.nemoAction()})
            EXPECT_TRUE(test::pathExists(entry)) << entry;
        EXPECT_TRUE(isExecutable(home.nautilusScript()));
        EXPECT_TRUE(isExecutable(home.dolphinMenu())); // Dolphin 6 runs only executable menus
        const std::string actions = test::readFile(home.thunarActions());
        EXPECT_NE(actions.find("<name>Rename with Morvane</name>"), std::string::npos);
        EXPECT_TRUE(isValidXml(home.thunarActions()));
        if (foreignAction) {
            EXPECT_NE(actions.find(kForeignAction), std::string::npos);
        }
        EXPECT_EQ(fs::is_symlink(home.thunarActions()), thunar == "linked");
        // Nothing the installer made is open to other users (a link's own
        // mode means nothing).
        for (const auto& [path, unused] : test::snapshot(home.home.path()))
            if (!fs::is_symlink(path)) {
                EXPECT_EQ(fs::status(path).permissions() & fs::perms::others_write, fs::perms::none)
                    << path;
            }

        ASSERT_TRUE(manager.uninstallContextMenu());
        EXPECT_FALSE(test::pathExists(contextMenuPlugin(home)));
        if (c.thunarAfter)
            before[home.thunarActions()] = "1 420 " + std::string(c.thunarAfter);
        EXPECT_EQ(outsideOssvale(home), before);
        if (c.foreignScript) {
            EXPECT_TRUE(test::pathExists(foreign));
        }
    }
}

TEST(ContextMenuComponent, AFileOfAnotherProgramAtAnEntrysPlaceStopsTheInstall) {
    test::ContextMenuHome home;
    home.home.write(".local/share/kio/servicemenus/tessary-rename-with-morvane.desktop",
                    "[Desktop Entry]\nType=Service\n");
    const auto before = test::snapshot(home.home.path());
    MRVNInstallationManager manager;
    EXPECT_FALSE(manager.installContextMenu());
    EXPECT_FALSE(manager.isContextMenuInstalled());
    EXPECT_EQ(outsideOssvale(home), before);
}

TEST(ContextMenuComponent, AnUpgradeReplacesTheEntriesOfTheOlderPlugin) {
    test::ContextMenuHome home;
    MRVNInstallationManager manager;
    ASSERT_TRUE(manager.installContextMenu());
    // The installed copy claims to be older: the upgrade runs its uninstaller
    // and the new installer.
    const std::string info = contextMenuPlugin(home) + "/Contents/Info.plist";
    std::string text = test::readFile(info);
    text.replace(text.find(std::to_string(*Bundle::version(test::ContextMenuHome::bundle()))), 5,
                 "70000");
    std::ofstream(info) << text;
    ASSERT_TRUE(manager.shouldUpdateContextMenu());
    ASSERT_TRUE(manager.updateContextMenu());
    EXPECT_FALSE(manager.shouldUpdateContextMenu());
    EXPECT_TRUE(test::pathExists(home.nemoAction()));
    const std::string actions = test::readFile(home.thunarActions());
    EXPECT_EQ(actions.find("Rename with Morvane"), actions.rfind("Rename with Morvane"))
        << "one action, not two";
}

TEST(ContextMenuComponent, TheDolphinAndNemoEntriesAreValidAndStartTheBundlesProgram) {
    if (Workspace::runAndWait("/bin/sh", {"-c", "command -v desktop-file-validate >/dev/null"}) !=
        0)
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup.sh installs it)";
    test::ContextMenuHome home;
    MRVNInstallationManager manager;
    ASSERT_TRUE(manager.installContextMenu());
    EXPECT_EQ(validatorComplaints(home.dolphinMenu()), "");
    EXPECT_EQ(validatorComplaints(home.dolphin5Menu()), "");
    // Nemo's file is no desktop entry; its Exec follows the same rules, so it
    // is checked inside one.
    const std::string exec = test::readFile(home.nemoAction());
    const std::string wrapped = home.home / "nemo-exec.desktop";
    std::ofstream(wrapped) << "[Desktop Entry]\nType=Application\nName=Nemo Exec\n"
                           << exec.substr(exec.find("Exec="), exec.find('\n', exec.find("Exec=")) -
                                                                  exec.find("Exec=") + 1);
    EXPECT_EQ(validatorComplaints(wrapped), "");
    const std::string program = "\"" + Bundle::applicationProgram() + "\" -- %F";
    EXPECT_EQ(test::keyFileValue(home.dolphinMenu(), "Desktop Action renameWithMorvane", "Exec"),
              program);
    EXPECT_EQ(test::keyFileValue(home.nemoAction(), "Nemo Action", "Exec"), program);
    EXPECT_EQ(Bundle::applicationProgram(),
              test::ContextMenuHome::bundle() + "/Contents/bin/morvane");
}
