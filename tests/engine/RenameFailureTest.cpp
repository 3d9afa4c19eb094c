#include "MRVN7x/engine/RenameFailure.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/engine/DiskRenamer.h"
#include "platform/PathText.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace morvane;
using morvane::test::TempDir;

namespace {
bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
} // namespace

// Each name rule has its own words and no errno.
TEST(RenameFailure, NamesThatCannotBeNamesSayWhichRuleTheyBreak) {
    const std::vector<std::pair<std::u16string, std::string>> cases = {
        {u"", "the new name is empty"},
        {u".", "the new name \".\" is not allowed"},
        {u"..", "the new name \"..\" is not allowed"},
        {std::u16string(u"nul\0x", 5), "the new name holds a NUL character, which is not allowed"},
        {u"half \xD83D", "the new name holds half a character (a lone UTF-16 surrogate), which "
                         "cannot be written"},
    };
    for (const auto& [name, reason] : cases) {
        const auto failure = RenameFailure::ofNewName(name);
        ASSERT_TRUE(failure) << reason;
        EXPECT_EQ(failure->reason(), reason);
        EXPECT_EQ(failure->error(), 0);
        EXPECT_EQ(failure->errorName(), "");
    }
    for (const std::u16string name : {u"a", u"...", u".hidden", u"a/b", u"\xDC80 stray byte"})
        EXPECT_FALSE(RenameFailure::ofNewName(name)) << toU8(name);
}

// The renamer refuses on disk what the rules refuse, with an errno that the
// failure words with the limit: a 256-byte name in a real folder.
TEST(RenameFailure, SystemErrorsGiveTheReasonTheLimitAndTheErrnoName) {
    TempDir dir;
    dir.write("present", "");
    const std::string longName(256, 'n');
    std::string deepPath = dir.path();
    for (int i = 0; i < 20; ++i)
        deepPath += "/" + std::string(250, 'd');
    deepPath += "/short";
    struct Case {
        int error;
        std::string oldPath, newPath, reason, name;
    };
    const std::vector<Case> cases = {
        {ENAMETOOLONG, dir / "present", dir / longName,
         "File name too long (the new name has 256 bytes, the limit is 255)", "ENAMETOOLONG"},
        {ENAMETOOLONG, dir / "present", deepPath,
         "File name too long (the new path has " + std::to_string(deepPath.size()) +
             " bytes, the limit is 4095)",
         "ENAMETOOLONG"},
        {ENOENT, dir / "gone", dir / "new",
         "No such file or directory (the item is no longer at " + dir / "gone" + ")", "ENOENT"},
        {ENOENT, dir / "present", dir / "new", "No such file or directory", "ENOENT"},
        {EACCES, dir / "present", dir / "new", "Permission denied", "EACCES"},
        {EROFS, dir / "present", dir / "new", "Read-only file system", "EROFS"},
        {ENOSPC, dir / "present", dir / "new", "No space left on device", "ENOSPC"},
    };
    for (const auto& c : cases) {
        const RenameFailure failure = RenameFailure::ofSystemError(c.error, c.oldPath, c.newPath);
        EXPECT_EQ(failure.reason(), c.reason);
        EXPECT_EQ(failure.errorName(), c.name);
    }
    // What the renamer leaves in errno is what the run words.
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    DiskRenamer renamer(*settings);
    const std::u16string tooLong(256, u'n');
    EXPECT_FALSE(renamer.renameCurrentName(u"present", dir / "present", tooLong, dir / longName));
    EXPECT_EQ(errno, ENAMETOOLONG);
}

// The dialog keeps its first sentence and its question; the reason stands in
// the middle, with the paragraph about access privileges only where it can apply.
TEST(RenameFailure, TheDialogSaysWhatHappenedAndNothingAboutAnotherPlatform) {
    const std::string path = "/d/100%@ %d";
    struct Case {
        RenameFailure failure;
        std::string reasonParagraph;
        bool accessParagraph;
    };
    const std::vector<Case> cases = {
        {*RenameFailure::ofNewName(u""), "The new name is empty.", false},
        {RenameFailure::ofSystemError(ENAMETOOLONG, "/d/a", "/d/" + std::string(300, 'a')),
         "File name too long (the new name has 300 bytes, the limit is 255).", false},
        {RenameFailure::ofSystemError(EACCES, "/d/a", "/d/b"), "Permission denied.", true},
        {RenameFailure::ofSystemError(EROFS, "/d/a", "/d/b"), "Read-only file system.", true},
    };
    for (const auto& c : cases) {
        const std::string text = c.failure.dialogText(path);
        EXPECT_EQ(text.rfind("The program was unable to rename the file /d/100%@ %d.\n\n" +
                                 c.reasonParagraph + "\n\n",
                             0),
                  0u)
            << text;
        EXPECT_TRUE(contains(text, "\n\nDo you want to continue renaming the remaining files"));
        EXPECT_EQ(contains(text, "You may not have sufficient access privileges"),
                  c.accessParagraph);
        EXPECT_FALSE(contains(text, "FileVault")) << text;
        EXPECT_FALSE(contains(text, "Finder")) << text;
    }
}
