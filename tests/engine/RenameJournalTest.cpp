#include "MRVN7x/engine/RenameJournal.h"
#include "platform/FileOperations.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <ctime>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;
using morvane::test::pathExists;
using morvane::test::readFile;
using morvane::test::TempDir;

namespace {
struct JournalledRun {
    TempDir files{"files"};
    TempDir journals{"journals"};
    std::vector<JournalPair> plan;

    explicit JournalledRun(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "f" + std::to_string(i);
            files.write(name, name);
            plan.push_back({files / name, files / ("renamed " + name)});
        }
    }
    // Renames the first n pairs, recording only the first recorded of them.
    std::string renameSome(size_t n, size_t recorded) {
        auto journal = RenameJournal::create(journals.path(), plan);
        EXPECT_TRUE(journal);
        for (size_t i = 0; i < n; ++i) {
            EXPECT_TRUE(FileOperations::moveNoReplace(plan[i].oldPath, plan[i].newPath));
            if (i < recorded)
                journal->markDone(i);
        }
        return journal->runId();
    }
    void expectAllOriginal() const {
        for (const auto& pair : plan) {
            EXPECT_TRUE(pathExists(pair.oldPath)) << pair.oldPath;
            EXPECT_FALSE(pathExists(pair.newPath)) << pair.newPath;
        }
    }
};
} // namespace

TEST(RenameJournal, UndoRestoresWhatARunKilledPartwayDid) {
    JournalledRun run(10);
    const std::string id = run.renameSome(6, 6);
    auto outcome = RenameJournalReader::undo(run.journals.path(), id);
    EXPECT_EQ(outcome.restored, 6u);
    EXPECT_TRUE(outcome.problems.empty());
    run.expectAllOriginal();
    auto record = RenameJournalReader::read(run.journals / (id + ".journal"));
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isUndone());
}

TEST(RenameJournal, UndoTrustsTheDiskWhereDoneRecordsLagBehind) {
    JournalledRun run(5);
    const std::string id = run.renameSome(4, 1);
    EXPECT_EQ(RenameJournalReader::undo(run.journals.path(), id).restored, 4u);
    run.expectAllOriginal();
}

TEST(RenameJournal, UndoNeverReplacesAnItemThatAppearedMeanwhile) {
    JournalledRun run(3);
    const std::string id = run.renameSome(3, 3);
    run.files.write("f1", "newcomer");
    auto outcome = RenameJournalReader::undo(run.journals.path(), id);
    EXPECT_EQ(outcome.restored, 2u);
    ASSERT_EQ(outcome.problems.size(), 1u);
    EXPECT_EQ(outcome.problems[0].first.oldPath, run.plan[1].oldPath);
    EXPECT_EQ(readFile(run.plan[1].oldPath), "newcomer");
    EXPECT_EQ(readFile(run.plan[1].newPath), "f1");
}

TEST(RenameJournal, UndoReversesChainsInReverseOrder) {
    // b -> c first, then a -> b: undo must move b back to a before c to b.
    TempDir files, journals;
    files.write("a", "A");
    files.write("b", "B");
    std::vector<JournalPair> plan = {{files / "b", files / "c"}, {files / "a", files / "b"}};
    auto journal = RenameJournal::create(journals.path(), plan);
    ASSERT_TRUE(journal);
    for (size_t i = 0; i < plan.size(); ++i) {
        ASSERT_TRUE(FileOperations::moveNoReplace(plan[i].oldPath, plan[i].newPath));
        journal->markDone(i);
    }
    EXPECT_EQ(RenameJournalReader::undo(journals.path(), journal->runId()).restored, 2u);
    EXPECT_EQ(readFile(files / "a"), "A");
    EXPECT_EQ(readFile(files / "b"), "B");
    EXPECT_FALSE(pathExists(files / "c"));
}

TEST(RenameJournal, PathsWithAnyBytesSurvive) {
    TempDir files, journals;
    const std::string odd = files / "new\nline\ttab \xff";
    files.write("plain", "x");
    auto journal = RenameJournal::create(journals.path(), {{files / "plain", odd}});
    ASSERT_TRUE(journal);
    auto record = RenameJournalReader::read(journal->path());
    ASSERT_TRUE(record);
    ASSERT_EQ(record->pairs.size(), 1u);
    EXPECT_EQ(record->pairs[0].newPath, odd);
}

TEST(RenameJournal, ListShowsRunsAndSkipsDamagedJournals) {
    JournalledRun run(2);
    const std::string first = run.renameSome(2, 2);
    run.journals.write("broken.journal", "morvane-journal 1\ncreated 5\npairs 3\n1 1\n");
    run.journals.write("cut.journal", std::string("not a journal"));
    auto records = RenameJournalReader::list(run.journals.path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].runId, first);
    EXPECT_EQ(records[0].doneCount(), 2u);
    EXPECT_FALSE(records[0].isUndone());
    // A done-record cut short by a kill is ignored, the rest is read.
    std::string text = readFile(run.journals / (first + ".journal")) + "done 1";
    run.journals.write(first + ".journal", text);
    EXPECT_EQ(RenameJournalReader::read(run.journals / (first + ".journal"))->doneCount(), 2u);
}

TEST(RenameJournal, ANameChangedDuringTheRunIsUndoneFromWhereItWent) {
    // The plan said a -> b, a dialog made it a -> edited; b is someone else's file.
    TempDir files, journals;
    files.write("a", "A");
    files.write("b", "B");
    auto journal = RenameJournal::create(journals.path(), {{files / "a", files / "b"}});
    ASSERT_TRUE(journal);
    ASSERT_TRUE(FileOperations::moveNoReplace(files / "a", files / "edited"));
    journal->markDoneAt(0, files / "edited");
    journal->markEnd();
    auto record = RenameJournalReader::read(journal->path());
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->ended);
    EXPECT_EQ(record->pairs[0].newPath, files / "edited");
    EXPECT_EQ(RenameJournalReader::undo(journals.path(), journal->runId()).restored, 1u);
    EXPECT_EQ(readFile(files / "a"), "A");
    EXPECT_EQ(readFile(files / "b"), "B");
    EXPECT_FALSE(pathExists(files / "edited"));
}

TEST(RenameJournal, ARecordCutShortByAKillIsIgnored) {
    JournalledRun run(2);
    const std::string id = run.renameSome(1, 1);
    const std::string path = run.journals / (id + ".journal");
    run.journals.write(id + ".journal", readFile(path) + "done-at 1 40\n/some/where");
    auto record = RenameJournalReader::read(path);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->doneCount(), 1u);
    EXPECT_EQ(record->pairs[1].newPath, run.plan[1].newPath);
    EXPECT_FALSE(record->ended);
}

namespace {
// A journal written by hand, with the run's start at the given time.
std::string journalStartedAt(const TempDir& journals, std::int64_t created,
                             const JournalPair& pair) {
    journals.write("run.journal", "morvane-journal 1\ncreated " + std::to_string(created) +
                                      "\npairs 1\n" + std::to_string(pair.oldPath.size()) + " " +
                                      std::to_string(pair.newPath.size()) + "\n" + pair.oldPath +
                                      "\n" + pair.newPath + "\nplan-end\n");
    return "run";
}
} // namespace

TEST(RenameJournal, WithoutDoneRecordsOnlyItemsChangedSinceTheRunBeganAreMovedBack) {
    // Nothing was recorded; the old path is gone and an item holds the new path.
    TempDir files, journals;
    const JournalPair pair{files / "old", files / "new"};
    files.write("new", "N");
    const std::int64_t now = std::time(nullptr);
    // An item older than the run: it merely has the planned name, it stays.
    std::string id = journalStartedAt(journals, now + 3600, pair);
    EXPECT_EQ(RenameJournalReader::undo(journals.path(), id).restored, 0u);
    EXPECT_TRUE(pathExists(files / "new"));
    // An item changed since the run began: the rename happened, it goes back.
    id = journalStartedAt(journals, now - 1, pair);
    EXPECT_EQ(RenameJournalReader::undo(journals.path(), id).restored, 1u);
    EXPECT_EQ(readFile(files / "old"), "N");
}

TEST(RenameJournal, MarksSurviveAProcessKilledWithoutClosingTheJournal) {
    JournalledRun run(50);
    const pid_t child = fork();
    if (child == 0) {
        auto journal = RenameJournal::create(run.journals.path(), run.plan);
        if (!journal)
            _exit(1);
        for (size_t i = 0; i < 30; ++i)
            journal->markDone(i);
        raise(SIGKILL); // no destructor, no unmapping, no close
        _exit(2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const auto records = RenameJournalReader::list(run.journals.path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].doneCount(), 30u);
    EXPECT_TRUE(records[0].done[29]);
    EXPECT_FALSE(records[0].done[30]);
    EXPECT_FALSE(records[0].ended);
}
