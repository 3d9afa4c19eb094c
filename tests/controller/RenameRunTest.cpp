#include "platform/PathText.h"
#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace morvane;
using namespace morvane::test;

namespace {
Step addToEnd(const std::string& text) {
    return {"Add to end", {{"string", plist::Value(text)}}};
}

RenameDialogAnswer answer(RenameChoice choice, const std::u16string& name = u"") {
    return {choice, name};
}

// Files a, b, c (and so on) in the temporary folder, all in the list.
std::vector<std::string> addFiles(ControllerFixture& f, const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const auto& name : names)
        paths.push_back(f.add(name, name));
    f.addToList(paths);
    return paths;
}

// The descriptors open in this process that lead to path or below it.
int descriptorsUnder(const std::string& path) {
    const std::string canonical = std::filesystem::canonical(path).string();
    int count = 0;
    for (const auto& open : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        count += std::filesystem::read_symlink(open.path(), error).string().starts_with(canonical);
    }
    return count;
}
} // namespace

TEST(RenameRun, InnerItemsAreRenamedBeforeTheirFolder) {
    ControllerFixture f;
    f.setChain({addToEnd("_x")});
    const std::string folder = f.files.makeFolder("folder");
    f.add("folder/inner", "i");
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.addToList({folder});
    f.rename();
    EXPECT_EQ(readFile(f.files / "folder_x/inner_x"), "i");
    EXPECT_EQ(f.port.alertTitles().back(), "2 file names were changed.");
    EXPECT_FALSE(f.port.calledFromAnotherThread);
    EXPECT_TRUE(f.port.progressShown && f.port.progressClosed);
    EXPECT_EQ(f.controller.rawFileList().count(), 0); // the list is emptied after a run
    // A folder left open would keep its disk from being unmounted.
    EXPECT_EQ(descriptorsUnder(f.files.path()), 0);
}

TEST(RenameRun, SummaryTitles) {
    struct Case {
        std::vector<std::string> files;
        Step step;
        std::string title;
    };
    const std::vector<Case> cases = {
        {{"a", "b", "c"}, addToEnd("1"), "3 file names were changed."},
        {{"a"}, addToEnd("1"), "1 file name was changed."},
        {{"a", "b"}, addToEnd(""), "The current settings did not result in any file name changes"},
    };
    for (const auto& c : cases) {
        ControllerFixture f;
        f.setChain({c.step});
        addFiles(f, c.files);
        f.rename();
        EXPECT_EQ(f.port.alertTitles().back(), c.title);
    }
}

TEST(RenameRun, ConfirmationAnswersSkipRenameAllAndSkipAll) {
    struct Case {
        std::vector<RenameDialogAnswer> answers;
        std::vector<std::string> expectedOnDisk;
        std::string summary;
        size_t dialogs;
    };
    const std::vector<Case> cases = {
        // skip holds for one item only
        {{answer(RenameChoice::Skip), answer(RenameChoice::Rename, u"b!"),
          answer(RenameChoice::Rename, u"c!")},
         {"a", "b!", "c!"},
         "2 file names were changed.",
         3},
        // rename-all stops the questions
        {{answer(RenameChoice::RenameAll, u"a!")},
         {"a!", "b!", "c!"},
         "3 file names were changed.",
         1},
        // skip-all stops the run; the summary counts what was done
        {{answer(RenameChoice::Rename, u"a!"), answer(RenameChoice::SkipAll)},
         {"a!", "b", "c"},
         "1 file name was changed.",
         2},
        // the name edited in the dialog is the one used
        {{answer(RenameChoice::Rename, u"edited"), answer(RenameChoice::Skip),
          answer(RenameChoice::Skip)},
         {"edited", "b", "c"},
         "1 file name was changed.",
         3},
    };
    for (const auto& c : cases) {
        ControllerFixture f;
        f.setChain({addToEnd("!")});
        f.controller.globalSettings().setValueForKey("interactiveMode", plist::Value(1));
        addFiles(f, {"a", "b", "c"});
        f.port.confirmationAnswers.assign(c.answers.begin(), c.answers.end());
        f.rename();
        EXPECT_EQ(f.port.confirmations.size(), c.dialogs);
        for (const auto& name : c.expectedOnDisk)
            EXPECT_TRUE(pathExists(f.files / name)) << name;
        EXPECT_EQ(f.port.alertTitles().back(), c.summary);
    }
}

TEST(RenameRun, AnExistingItemAtTheNewNameAsksAndNeverReplaces) {
    ControllerFixture f;
    f.setChain({addToEnd("_new")});
    addFiles(f, {"a"});
    f.add("a_new", "someone else's");
    f.port.conflictAnswers = {answer(RenameChoice::Rename, u"a_new"),
                              answer(RenameChoice::Rename, u"a_free")};
    f.rename();
    EXPECT_EQ(f.port.conflicts.size(), 2u);
    EXPECT_EQ(f.port.conflicts[0].context.newName, u"a_new");
    EXPECT_EQ(readFile(f.files / "a_new"), "someone else's");
    EXPECT_EQ(readFile(f.files / "a_free"), "a");
}

TEST(RenameRun, ConflictAnswersSkipOneItemOrTheRest) {
    struct Case {
        RenameChoice choice;
        std::vector<std::string> expectedOnDisk;
        std::string summary;
    };
    const std::vector<Case> cases = {
        {RenameChoice::Skip, {"a", "a_new", "b_new"}, "1 file name was changed."},
        {RenameChoice::SkipAll, {"a", "a_new", "b"}, "No file names were changed."},
    };
    for (const auto& c : cases) {
        ControllerFixture f;
        f.setChain({addToEnd("_new")});
        addFiles(f, {"a", "b"});
        f.add("a_new", "kept");
        f.port.conflictAnswers = {answer(c.choice)};
        f.rename();
        EXPECT_EQ(f.port.conflicts.size(), 1u);
        EXPECT_EQ(readFile(f.files / "a_new"), "kept");
        for (const auto& name : c.expectedOnDisk)
            EXPECT_TRUE(pathExists(f.files / name)) << name;
        EXPECT_EQ(f.port.alertTitles().back(), c.summary);
    }
}

TEST(RenameRun, ACaseChangeOntoAnotherItemFailsAndReplacesNothing) {
    ControllerFixture f;
    f.setChain({{"Make uppercase", {}}});
    addFiles(f, {"a"});
    f.add("A", "someone else's");
    f.rename();
    ASSERT_GE(f.port.alerts.size(), 2u);
    EXPECT_EQ(f.port.alerts[0].title, "The file name could not be changed.");
    EXPECT_NE(f.port.alerts[0].text.find("A file called " + (f.files / "A") + " already exists."),
              std::string::npos);
    EXPECT_TRUE(f.port.conflicts.empty());
    EXPECT_EQ(readFile(f.files / "A"), "someone else's");
    EXPECT_EQ(readFile(f.files / "a"), "a");
}

TEST(RenameRun, SilentRunSkipsAnExistingItemWithoutAsking) {
    ControllerFixture f;
    f.setChain({addToEnd("_new")});
    addFiles(f, {"a", "b"});
    f.add("a_new", "kept");
    f.controller.globalSettings().setValueForKey("silentDroplet", plist::Value(1));
    f.controller.setOperationMode(MainController::DropletRun);
    f.controller.updatePreview();
    EXPECT_TRUE(f.controller.applyCurrentSettings());
    EXPECT_TRUE(f.port.conflicts.empty());
    EXPECT_TRUE(f.port.alerts.empty()); // no summary in a silent run
    EXPECT_EQ(readFile(f.files / "a_new"), "kept");
    EXPECT_EQ(readFile(f.files / "a"), "a");
    EXPECT_EQ(readFile(f.files / "b_new"), "b");
}

TEST(RenameRun, FailureAlertShowsTheTextLiterallyAndOffersToSkipTheRest) {
    ControllerFixture f;
    // A name of 300 bytes cannot be stored: every rename of this run fails.
    f.setChain({addToEnd(std::string(300, 'x'))});
    addFiles(f, {"100%@ %d a", "b", "c"});
    f.port.alertAnswers = {1, 0}; // "Continue Renaming", then "Skip Remaining Files"
    f.rename();
    ASSERT_GE(f.port.alerts.size(), 3u);
    EXPECT_EQ(f.port.alerts[0].title, "The file name could not be changed.");
    EXPECT_NE(f.port.alerts[0].text.find("The program was unable to rename the file " +
                                         (f.files / "100%@ %d a") +
                                         ".\n\nFile name too long (the new name has 310 "
                                         "bytes, the limit is 255).\n\n"),
              std::string::npos)
        << f.port.alerts[0].text;
    EXPECT_EQ(f.port.alerts[0].text.find("FileVault"), std::string::npos);
    EXPECT_EQ(f.port.alerts[0].buttons,
              (std::vector<std::string>{"Continue Renaming", "Skip Remaining Files"}));
    EXPECT_EQ(f.port.alerts[1].title, "The file name could not be changed.");
    EXPECT_EQ(f.port.alerts[2].title, "No file names were changed."); // c was not reached
    EXPECT_TRUE(pathExists(f.files / "c"));
}

TEST(RenameRun, SlashInANewNameReachesTheDiskAsColon) {
    ControllerFixture f;
    f.setChain({addToEnd(" 12/14")});
    addFiles(f, {"song"});
    f.rename();
    EXPECT_EQ(readFile(f.files / "song 12:14"), "song");
}

TEST(RenameRun, ChecksBeforeTheRun) {
    {
        ControllerFixture f; // neither files nor folders
        f.setChain({addToEnd("1")});
        addFiles(f, {"a"});
        f.controller.globalSettings().setShouldProcessFiles(false);
        f.controller.globalSettings().setShouldProcessFolders(false);
        f.port.dontShowAgainAnswers = {{1, false}};
        f.rename();
        EXPECT_EQ(f.port.dontShowAgainDialogs,
                  (std::vector<std::string>{"Inconsistent Settings Dialog"}));
        EXPECT_TRUE(f.controller.globalSettings().shouldProcessFiles());
        EXPECT_TRUE(f.controller.globalSettings().shouldProcessFolders());
        EXPECT_TRUE(pathExists(f.files / "a"));
    }
    {
        ControllerFixture f; // an empty list
        f.setChain({addToEnd("1")});
        f.port.dontShowAgainAnswers = {{2, false}};
        f.rename();
        EXPECT_EQ(f.port.dontShowAgainDialogs,
                  (std::vector<std::string>{"No Files Selected Info Dialog"}));
        EXPECT_EQ(f.port.helpPages.size(), 1u);
        EXPECT_FALSE(f.port.progressShown);
    }
    {
        ControllerFixture f; // a conflict in the preview, not confirmed
        f.setChain({{"Completely rename", {{"newName", plist::Value("same")}}}});
        addFiles(f, {"a", "b"});
        f.port.dontShowAgainAnswers = {{2, false}};
        f.rename();
        EXPECT_EQ(f.port.dontShowAgainDialogs,
                  (std::vector<std::string>{"Conflicts Detected Dialog"}));
        EXPECT_FALSE(f.port.progressShown);
        EXPECT_TRUE(pathExists(f.files / "a") && pathExists(f.files / "b"));
    }
}

TEST(RenameRun, ManualStepAsksForEveryItemWithItsPreselection) {
    ControllerFixture f;
    f.setChain({{"Manually rename",
                 {{"select string", plist::Value("IMG")}, {"ignore case", plist::Value(1)}}}});
    addFiles(f, {"a_img.jpg", "b.jpg", "c.jpg"});
    f.port.confirmationAnswers = {answer(RenameChoice::RenameAll, u"first.jpg"),
                                  answer(RenameChoice::Rename, u"b.jpg"),
                                  answer(RenameChoice::Rename, u"c.jpg")};
    f.rename();
    ASSERT_EQ(f.port.confirmations.size(), 3u); // even after rename-all
    EXPECT_EQ(f.port.confirmations[0].context.newName, u"a_img.jpg");
    EXPECT_EQ(f.port.confirmations[0].selectionString, u"IMG");
    EXPECT_EQ(f.port.confirmations[0].selectionMask, 1u);
    EXPECT_TRUE(pathExists(f.files / "first.jpg"));
    EXPECT_TRUE(pathExists(f.files / "b.jpg"));
    // Names left as they were are not counted as renamed.
    EXPECT_EQ(f.port.alertTitles().back(), "1 file name was changed.");
}

TEST(RenameRun, EveryNameOfALongListIsComputedWithoutTheCutOff) {
    ControllerFixture f;
    f.setChain({addToEnd("_r")});
    const std::string folder = f.files.makeFolder("many");
    for (int i = 0; i < 300; ++i)
        f.add("many/f" + std::to_string(i));
    f.port.dontShowAgainAnswers = {{1, false}}; // the cut-off notice of the preview
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.controller.globalSettings().setShouldProcessFolders(false);
    f.addToList({folder});
    EXPECT_TRUE(f.controller.dynamicFileList().cutOffPointWasActuallyApplied());
    EXPECT_EQ(f.controller.previewEntries().size(), 250u);
    f.rename();
    for (int i = 0; i < 300; ++i)
        EXPECT_TRUE(pathExists(f.files / ("many/f" + std::to_string(i) + "_r"))) << i;
}

// A long list whose every step names items independently is named by two
// threads, in the preview and in the run: both must give every item the name
// one thread gives it (a step that does not name items independently, here a
// regular expression that matches nothing, keeps the chain on one thread),
// numbers per folder and across the list included.
TEST(RenameRun, ALongListNamedOnTwoThreadsGetsTheNamesOfOneThread) {
    ControllerFixture f;
    const std::vector<Step> chain = {
        {"Replace text",
         {{"search term", plist::Value("Photo")}, {"replacement term", plist::Value("Pic")}}},
        {"Add number to start",
         {{"sortingMode", plist::Value(10)}, {"sortEachFolderSeparately", plist::Value(1)}}},
        {"Add number to end", {{"sortingMode", plist::Value(1)}, {"padding", plist::Value(5)}}},
        {"Make lowercase", {}}};
    auto oneThread = chain;
    oneThread.push_back({"Reg Ex Substitution", {{"search pattern", plist::Value("^x{9}$")}}});
    f.setChain(oneThread);
    std::vector<std::string> folders = {f.files.makeFolder("a"), f.files.makeFolder("b")};
    for (int i = 0; i < 5000; ++i)
        f.add((i % 3 ? "a/" : "b/") + std::string(i % 2 ? "Photo " : "photo ") +
              std::to_string(i * 7 % 5000) + ".JPG");
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.controller.globalSettings().setShouldProcessFolders(false);
    f.controller.dynamicFileList().setApplyCutOff(false);
    f.addToList(folders);
    const std::vector<PreviewEntry> planned(f.controller.previewEntries().begin(),
                                            f.controller.previewEntries().end());
    ASSERT_EQ(planned.size(), 5000u);
    f.setChain(chain);
    f.controller.updatePreview();
    ASSERT_EQ(f.controller.previewEntries().size(), planned.size());
    for (size_t i = 0; i < planned.size(); ++i) {
        const PreviewEntry row = f.controller.previewEntries()[i];
        ASSERT_EQ(row.oldName, planned[i].oldName) << i;
        ASSERT_EQ(row.newName, planned[i].newName) << i;
        ASSERT_EQ(row.path, planned[i].path) << i;
    }
    f.rename();
    EXPECT_EQ(f.port.alertTitles().back(), "5000 file names were changed.");
    for (const PreviewEntry& entry : planned)
        ASSERT_TRUE(pathExists(PathText::pathOfDisplayName(entry.path, entry.newName)))
            << toU8(entry.oldName) << " -> " << toU8(entry.newName);
}
