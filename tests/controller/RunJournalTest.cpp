// Every run of the controller keeps its journal, whatever the front end, and
// UndoService undoes it; the run's result is typed.
#include "MRVN7x/app/UndoService.h"
#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {
struct JournalledController : ControllerFixture {
    TempDir journals{"journals"};
    JournalledController() { controller.setJournalFolder(journals.path()); }

    // "Rename from list" over the given (name, new name) pairs of files in files/.
    void renameByList(const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::string list;
        std::vector<std::string> paths;
        for (const auto& [from, to] : pairs) {
            paths.push_back(add(from, "content of " + from));
            list += paths.back() + "\t" + to + "\n";
        }
        const std::string listFile = settings.write("list.txt", list);
        setChain({{"Rename from list", {{"list file path", plist::Value(listFile)}}}});
        addToList(paths);
        rename();
    }
    std::string content(const std::string& name) const { return readFile(files / name); }
};
} // namespace

TEST(RunJournal, EveryRunIsJournalledAndUndoneThroughTheUndoService) {
    JournalledController f;
    UndoService undo(f.journals.path());
    EXPECT_FALSE(undo.canUndo());
    f.renameByList({{"a", "b"}, {"b", "c"}, {"c", "a"}});
    const RenameRunResult& result = f.controller.lastRunResult();
    EXPECT_EQ(result.status, RenameRunResult::Status::Completed);
    EXPECT_EQ(result.count(RenameOutcome::Kind::Renamed), 3u);
    EXPECT_EQ(result.summary, "3 file names were changed.");
    ASSERT_FALSE(result.runId.empty());
    EXPECT_EQ(f.content("b"), "content of a");
    EXPECT_EQ(f.content("a"), "content of c");
    ASSERT_TRUE(undo.canUndo());
    EXPECT_EQ(undo.newestUndoableRun()->runId, result.runId);

    const UndoResult undone = undo.undoNewest();
    EXPECT_EQ(undone.status, UndoResult::Status::Complete);
    EXPECT_EQ(undone.restored, 3u);
    EXPECT_TRUE(undone.problems.empty());
    for (const char* name : {"a", "b", "c"})
        EXPECT_EQ(f.content(name), std::string("content of ") + name);
    EXPECT_FALSE(undo.canUndo());
    EXPECT_EQ(undo.undoNewest().status, UndoResult::Status::NothingToUndo);
}

// A cycle whose member the user skips cannot close: the item parked at the
// temporary name goes back to its old name; nothing is left under it.
TEST(RunJournal, ASkippedCycleMemberLeavesNothingUnderATemporaryName) {
    JournalledController f;
    f.controller.globalSettings().setValueForKey("interactiveMode", plist::Value(1));
    f.port.confirmationAnswers = {{RenameChoice::Rename, u"b"}, {RenameChoice::Skip, u"a"}};
    f.renameByList({{"a", "b"}, {"b", "a"}});
    const RenameRunResult& result = f.controller.lastRunResult();
    EXPECT_EQ(result.count(RenameOutcome::Kind::Renamed), 0u);
    EXPECT_EQ(result.count(RenameOutcome::Kind::Skipped), 1u);
    EXPECT_EQ(result.count(RenameOutcome::Kind::SkippedExisting), 1u);
    EXPECT_EQ(f.content("a"), "content of a");
    EXPECT_EQ(f.content("b"), "content of b");
    EXPECT_FALSE(pathExists(RenameOptimizer::temporaryPathFor(f.files / "a")));
}

TEST(RunJournal, WithoutAJournalNothingIsRenamed) {
    JournalledController f;
    const std::string blocked = f.journals.write("blocked", "a file, not a folder");
    f.controller.setJournalFolder(blocked + "/runs");
    f.setChain({{"Add to end", {{"string", plist::Value("1")}}}});
    f.addToList({f.add("a", "A")});
    f.rename();
    const RenameRunResult& result = f.controller.lastRunResult();
    EXPECT_EQ(result.status, RenameRunResult::Status::Refused);
    EXPECT_NE(result.reason.find("blocked"), std::string::npos) << result.reason;
    EXPECT_EQ(f.port.alertTitles().back(), "No file names were changed.");
    EXPECT_EQ(f.content("a"), "A");
}

// The window's "Undo Last Rename": asked first, summed up after, and refused
// by a "Cancel".
TEST(RunJournal, UndoLastRunAsksThenRestoresAndSumsUp) {
    JournalledController f;
    EXPECT_FALSE(f.controller.canUndoLastRun());
    f.renameByList({{"a", "x"}, {"b", "y"}});
    ASSERT_TRUE(f.controller.canUndoLastRun());
    f.port.alertAnswers = {0}; // "Cancel"
    f.controller.undoLastRun();
    EXPECT_EQ(f.content("x"), "content of a");
    f.port.alertAnswers = {1, 1}; // "Undo", then "OK"
    f.controller.undoLastRun();
    EXPECT_EQ(f.content("a"), "content of a");
    EXPECT_EQ(f.content("b"), "content of b");
    EXPECT_EQ(f.port.alertTitles().back(), "2 items got their names back.");
    EXPECT_FALSE(f.controller.canUndoLastRun());
    f.port.alertAnswers = {1};
    f.controller.undoLastRun();
    EXPECT_EQ(f.port.alertTitles().back(), "There is no rename to undo.");
}
