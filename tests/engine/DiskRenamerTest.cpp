#include "MRVN7x/engine/DiskRenamer.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "platform/FileOperations.h"
#include "platform/PathText.h"
#include "platform/ScriptRunner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace morvane;
using morvane::test::pathExists;
using morvane::test::readFile;
using morvane::test::TempDir;

namespace {

struct Fixture {
    TempDir dir;
    std::unique_ptr<MRVNGlobalPreferencesPseudoAction> settings =
        makeAction<MRVNGlobalPreferencesPseudoAction>();
    DiskRenamer renamer{*settings};

    explicit Fixture(int mode) { settings->setValueForKey("renameMode", plist::Value(mode)); }

    // Renames the item called from (in the folder) to the display name to.
    bool rename(const std::string& from, const std::u16string& to) {
        const std::string path = dir / from;
        auto fileName = PathText::fileNameFromDisplayName(to);
        const std::string newPath = dir / (fileName ? *fileName : "");
        return renamer.renameCurrentName(PathText::displayNameOfPath(path), path, to, newPath);
    }
};

const std::vector<int> allMechanisms = {0, 1, 2, 3};

} // namespace

TEST(DiskRenamer, RenamesFilesAndFoldersByEveryMechanism) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        f.dir.write("old.txt", "content");
        f.dir.write("folder/inner.txt", "inner");
        EXPECT_TRUE(f.rename("old.txt", u"new name é.txt"));
        EXPECT_EQ(readFile(f.dir / "new name é.txt"), "content");
        EXPECT_FALSE(pathExists(f.dir / "old.txt"));
        EXPECT_TRUE(f.rename("folder", u"renamed folder"));
        EXPECT_EQ(readFile(f.dir / "renamed folder/inner.txt"), "inner");
    }
}

TEST(DiskRenamer, NeverReplacesAnExistingItem) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        f.dir.write("a.txt", "A");
        f.dir.write("b.txt", "B");
        f.dir.makeFolder("folder");
        f.dir.write("folder/keep", "K");
        EXPECT_FALSE(f.rename("a.txt", u"b.txt"));
        EXPECT_EQ(readFile(f.dir / "a.txt"), "A");
        EXPECT_EQ(readFile(f.dir / "b.txt"), "B");
        EXPECT_FALSE(f.rename("a.txt", u"folder"));
        EXPECT_EQ(readFile(f.dir / "folder/keep"), "K");
        EXPECT_FALSE(f.rename("folder", u"b.txt"));
        EXPECT_EQ(readFile(f.dir / "b.txt"), "B");
    }
}

TEST(DiskRenamer, ChangeOfCaseOnly) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        f.dir.write("photo.jpg", "P");
        EXPECT_TRUE(f.rename("photo.jpg", u"PHOTO.JPG"));
        EXPECT_EQ(readFile(f.dir / "PHOTO.JPG"), "P");
        EXPECT_FALSE(pathExists(f.dir / "photo.jpg"));
        EXPECT_FALSE(pathExists(f.dir / DiskRenamer::kCaseChangeTemporaryName));
    }
}

// Names as stored on disk are compared without their display names only
// where that gives the display names' answer: ASCII without ":".
TEST(DiskRenamer, ChangeOfCaseIsFoundInStoredNamesAsInDisplayNames) {
    struct Case {
        const char* a;
        const char* b;
        bool differsInCaseOnly;
        bool plain;
    } cases[] = {
        {"Photo.JPG", "photo.jpg", true, true},
        {"photo.jpg", "photo.jpg", false, true},
        {"a", "b", false, true},
        {"ab", "A", false, true},
        {"x[", "X{", false, true},
        {"AC:DC", "ac:dc", true, false},
        {"caf\xc3\xa9", "CAF\xc3\x89", true, false},
        {"\xff", "\xff", false, false},
    };
    for (const Case& c : cases) {
        const std::u16string a = PathText::displayNameOfPath(c.a);
        const std::u16string b = PathText::displayNameOfPath(c.b);
        EXPECT_EQ(DiskRenamer::differsInCaseOnly(a, b), c.differsInCaseOnly) << c.a;
        const auto plain = DiskRenamer::plainNamesDifferInCaseOnly(c.a, c.b);
        EXPECT_EQ(plain.has_value(), c.plain) << c.a;
        if (plain) {
            EXPECT_EQ(*plain, c.differsInCaseOnly) << c.a;
        }
    }
}

// On a file system that respects case another item may already carry the new
// name: the change of case fails, and the item keeps its own name (it is not
// left under the temporary name).
TEST(DiskRenamer, FailedChangeOfCaseLeavesBothItemsAsTheyWere) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        f.dir.write("photo.jpg", "lower");
        f.dir.write("Photo.jpg", "upper");
        EXPECT_FALSE(f.rename("photo.jpg", u"Photo.jpg"));
        EXPECT_EQ(readFile(f.dir / "photo.jpg"), "lower");
        EXPECT_EQ(readFile(f.dir / "Photo.jpg"), "upper");
        EXPECT_FALSE(pathExists(f.dir / DiskRenamer::kCaseChangeTemporaryName));
    }
}

TEST(DiskRenamer, SlashInADisplayNameIsAColonOnDisk) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        f.dir.write("track.mp3", "T");
        EXPECT_TRUE(f.rename("track.mp3", u"12/14 Song.mp3"));
        EXPECT_EQ(readFile(f.dir / "12:14 Song.mp3"), "T");
    }
}

TEST(DiskRenamer, RefusesNamesThatCannotBeNames) {
    const std::vector<std::u16string> bad = {
        u"", u".", u"..", std::u16string(1025, u'x'), u"half \xD83D", std::u16string(u"nul\0x", 5)};
    for (int mode : allMechanisms) {
        for (const auto& name : bad) {
            Fixture f(mode);
            f.dir.write("a.txt", "A");
            EXPECT_FALSE(f.rename("a.txt", name)) << mode << " " << name.size();
            EXPECT_EQ(readFile(f.dir / "a.txt"), "A");
        }
    }
}

TEST(DiskRenamer, UnknownMechanismRenamesNothing) {
    for (int mode : {4, 5, -1}) {
        Fixture f(mode);
        f.dir.write("a.txt", "A");
        EXPECT_FALSE(f.rename("a.txt", u"b.txt"));
        EXPECT_TRUE(pathExists(f.dir / "a.txt"));
        EXPECT_FALSE(pathExists(f.dir / "b.txt"));
        // The renamer keeps its reading of the setting only until the setting changes.
        f.settings->setValueForKey("renameMode", plist::Value(3));
        EXPECT_TRUE(f.rename("a.txt", u"b.txt"));
        f.settings->setValueForKey("renameMode", plist::Value(mode));
        EXPECT_FALSE(f.rename("b.txt", u"c.txt"));
        EXPECT_TRUE(pathExists(f.dir / "b.txt"));
    }
}

TEST(DiskRenamer, MechanismZeroSwitchesToThreeThroughTheKeyInterface) {
    struct Observer : KeyValueObserver {
        std::optional<plist::Value> seen;
        void observeValueForKey(const std::string&, BaseAction&, const std::optional<plist::Value>&,
                                const std::optional<plist::Value>& newValue) override {
            seen = newValue;
        }
    } observer;
    Fixture f(0);
    f.settings->addObserver(&observer, "renameMode");
    f.dir.write("a.txt", "A");
    EXPECT_TRUE(f.rename("a.txt", u"b.txt"));
    EXPECT_EQ(f.settings->getRenameMode(), 3);
    ASSERT_TRUE(observer.seen);
    EXPECT_EQ(*observer.seen, plist::Value(3));
}

TEST(DiskRenamer, FinderScriptTextIsBuiltLineByLine) {
    Fixture f(0);
    EXPECT_EQ(f.renamer.script(),
              "on filerename(p, newName, newFilePath)\n"
              "tell application \"Finder\"\n"
              "set oldComment to comment of ((POSIX file p) as alias)\n"
              "set name of ((POSIX file p) as alias) to newName\n"
              "set comment of ((POSIX file newFilePath) as alias) to oldComment\n"
              "end tell\n"
              "end filerename\n");
    EXPECT_FALSE(ScriptRunner::callHandler("tell application \"Finder\" to quit", "run", {}));
}

TEST(DiskRenamer, CommentSurvivesEveryMechanismAndTheScript) {
    for (int mode : allMechanisms) {
        SCOPED_TRACE(mode);
        Fixture f(mode);
        const std::string file = f.dir.write("a.txt", "A");
        if (!FileOperations::writeComment(file, "holiday pick"))
            GTEST_SKIP() << "this file system keeps no user extended attributes";
        ASSERT_TRUE(f.rename("a.txt", u"b.txt"));
        std::string comment;
        ASSERT_TRUE(FileOperations::readComment(f.dir / "b.txt", comment));
        EXPECT_EQ(comment, "holiday pick");
    }
    Fixture f(0);
    const std::string file = f.dir.write("c.txt", "C");
    FileOperations::writeComment(file, "kept");
    ASSERT_TRUE(f.renamer.renameFileViaAppleScript(file, u"d/e.txt", f.dir / "d:e.txt"));
    std::string comment;
    ASSERT_TRUE(FileOperations::readComment(f.dir / "d:e.txt", comment));
    EXPECT_EQ(comment, "kept");
}
