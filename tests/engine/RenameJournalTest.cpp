// The journal as undo meets it: identities decide what moves back, marks only
// what is worth reporting; damaged journals, order, temporary plan files.
#include "MRVN7x/engine/RenameJournal.h"
#include "platform/FileOperations.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;
using morvane::test::pathExists;
using morvane::test::readFile;
using morvane::test::TempDir;

namespace {
struct Move {
    std::string from, to;
    JournalStepKind kind = JournalStepKind::Whole;
};

// A journal over moves of the files in files/, each step's identity read from disk.
struct JournalledRun {
    TempDir files{"files"};
    TempDir journals{"journals"};
    std::vector<Move> moves;
    std::optional<RenameJournal> journal;

    std::string create() {
        std::vector<std::string> from, to;
        std::vector<JournalStepView> steps;
        for (const Move& move : moves) {
            from.push_back(files / move.from);
            to.push_back(files / move.to);
        }
        // The identity of an item is that of the file the first step of its chain moves.
        std::map<std::string, ItemIdentity> identityAt;
        for (size_t i = 0; i < moves.size(); ++i) {
            auto found = identityAt.find(from[i]);
            const ItemIdentity identity = found != identityAt.end()
                                              ? found->second
                                              : FileOperations::identityOf(from[i]).value();
            identityAt[to[i]] = identity;
            steps.push_back({from[i], to[i], identity, moves[i].kind});
        }
        auto created = RenameJournal::create(journals.path(), steps);
        EXPECT_TRUE(created) << created.messageIfFailed();
        if (!created)
            return {};
        journal = std::move(*created);
        return journal->runId();
    }
    // Moves the first n moves back, newest first, as an undo that is killed
    // before it could write what it did.
    void revert(size_t n) {
        for (size_t i = n; i-- > 0;)
            ASSERT_TRUE(FileOperations::moveNoReplace(files / moves[i].to, files / moves[i].from));
    }
    // Does the first n moves, marking the first marked of them.
    void perform(size_t n, size_t marked) {
        for (size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(FileOperations::moveNoReplace(files / moves[i].from, files / moves[i].to))
                << moves[i].from;
            if (i < marked)
                journal->markDone(i);
        }
    }
    UndoOutcome undo() { return RenameJournalReader::undo(journals.path(), journal->runId()); }
    std::string journalPath() const { return journal->path(); }
};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}
} // namespace

// Every prefix of a shift, a swap through a temporary name and a change of
// case, with and without marks, and with an earlier undo that put it all back
// but was killed before it could say so: undo brings back exactly the
// original names and contents, reports nothing, and a second undo has
// nothing left to do.
TEST(RenameJournal, UndoRestoresEveryPrefixOfARunMarkedOrNot) {
    using K = JournalStepKind;
    const std::string tmp = ".morvane cycle in progress";
    const std::vector<std::vector<Move>> runs = {
        {{"f3", "f4"}, {"f2", "f3"}, {"f1", "f2"}},                             // shift
        {{"a", tmp, K::ToTemporary}, {"b", "a"}, {tmp, "b", K::FromTemporary}}, // swap
        {{"x", "X", K::CaseChange}, {"y", "y2"}},                               // case
    };
    for (const auto& moves : runs) {
        for (size_t done = 0; done <= moves.size(); ++done) {
            for (const auto& [marked, putBack] :
                 std::vector<std::pair<size_t, bool>>{{0, false}, {done, false}, {done, true}}) {
                JournalledRun run;
                run.moves = moves;
                for (const Move& move : moves)
                    if (move.from != tmp && !pathExists(run.files / move.from))
                        run.files.write(move.from, "content of " + move.from);
                const auto before = namesIn(run.files.path());
                run.create();
                run.perform(done, marked);
                if (putBack)
                    run.revert(done);
                const UndoOutcome outcome = run.undo();
                EXPECT_EQ(outcome.status, UndoOutcome::Status::Complete)
                    << moves[0].from << " done " << done << " marked " << marked << " put back "
                    << putBack;
                EXPECT_TRUE(outcome.problems.empty()) << moves[0].from << " done " << done;
                EXPECT_EQ(namesIn(run.files.path()), before) << moves[0].from << " " << done;
                for (const auto& name : before)
                    EXPECT_EQ(readFile(run.files / name), "content of " + name);
                EXPECT_FALSE(run.undo().restored); // nothing left
            }
        }
    }
}

// Undo moves an item back only when it is the item the run moved.
TEST(RenameJournal, UndoLeavesAloneWhatTheRunDidNotMove) {
    struct Case {
        const char* label;
        std::vector<std::string> moveAway; // renamed items the user moves elsewhere
        std::vector<std::string> create;   // new items under the run's new names
        size_t restored;
        size_t problems;
    };
    const std::vector<Case> cases = {
        {"untouched run", {}, {}, 2, 0},
        {"a renamed item moved away", {"report_old"}, {}, 1, 1},
        {"replaced by a new item of the same name", {"report_old"}, {"report_old"}, 1, 1},
    };
    for (const Case& c : cases) {
        JournalledRun run;
        run.files.write("report", "report");
        run.files.write("notes", "notes");
        run.moves = {{"report", "report_old"}, {"notes", "notes_old"}};
        run.create();
        run.perform(2, 2);
        for (const auto& name : c.moveAway)
            ASSERT_TRUE(FileOperations::moveNoReplace(run.files / name, run.files / "moved away"));
        for (const auto& name : c.create)
            run.files.write(name, "new " + name);
        const UndoOutcome outcome = run.undo();
        EXPECT_EQ(outcome.restored, c.restored) << c.label;
        EXPECT_EQ(outcome.problems.size(), c.problems) << c.label;
        EXPECT_EQ(readFile(run.files / "notes"), "notes") << c.label;
        for (const auto& name : c.create)
            EXPECT_EQ(readFile(run.files / name), "new " + name) << c.label;
        EXPECT_EQ(pathExists(run.files / "report"), c.moveAway.empty()) << c.label;
        // A second undo neither moves the new item nor reports more than before.
        const UndoOutcome again = run.undo();
        EXPECT_EQ(again.restored, 0u) << c.label;
        EXPECT_EQ(again.problems.size(), c.problems) << c.label;
        EXPECT_FALSE(pathExists(run.files / "report") && !c.moveAway.empty()) << c.label;
    }
}

// A journal that cannot be written gives the reason and the system's code, and
// leaves nothing behind.
TEST(RenameJournal, AJournalThatCannotBeWrittenSaysWhy) {
    TempDir dir;
    const std::string file = dir.write("file", "x");
    for (const std::string& folder : {file, file + "/runs"}) {
        const auto journal = RenameJournal::create(folder, std::vector<JournalStepView>{});
        ASSERT_FALSE(journal) << folder;
        EXPECT_EQ(journal.failure().code, ENOTDIR) << folder;
        EXPECT_EQ(journal.message(), file + ": not a folder");
    }
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"file"});
}

TEST(RenameJournal, PathsWithAnyBytesSurvive) {
    JournalledRun run;
    run.files.write("plain", "x");
    run.moves = {{"plain", "new\nline\ttab \xff"}};
    run.create();
    auto record = RenameJournalReader::read(run.journalPath());
    ASSERT_TRUE(record);
    ASSERT_EQ(record->steps.size(), 1u);
    EXPECT_EQ(record->steps[0].to, run.files / "new\nline\ttab \xff");
    EXPECT_FALSE(record->damaged);
}

// A NUL byte cannot be part of a path: the step that holds one is damage, not
// a shorter path ("su\0" is not "su"), and undo stops before it.
TEST(RenameJournal, APathWithANulByteIsDamage) {
    JournalledRun run;
    run.files.write("a");
    run.files.write("sub");
    run.moves = {{"a", "b"}, {"sub", "sub2"}};
    run.create();
    run.perform(2, 2);
    std::string text = readFile(run.journalPath());
    text[text.find("/sub\n") + 3] = '\0';
    run.journals.write(run.journal->runId() + ".journal", text);
    const auto record = RenameJournalReader::read(run.journalPath());
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->damaged);
    EXPECT_EQ(record->steps.size(), 1u);
    run.undo();
    EXPECT_EQ(namesIn(run.files.path()), (std::vector<std::string>{"a", "sub2"}));
}

// Runs are ordered by their sequence, not their names; a damaged journal is
// listed as damaged with the steps that can still be read; a temporary plan
// left by a run killed while writing it is removed by the next run.
TEST(RenameJournal, ListingOrderDamageAndLeftovers) {
    JournalledRun first;
    first.files.write("a");
    first.moves = {{"a", "b"}};
    first.create();
    // A later run whose name sorts first.
    std::filesystem::rename(first.journalPath(), first.journals / "00000000-000000-9.journal");
    first.files.write("c");
    first.moves = {{"c", "d"}, {"a", "e"}};
    first.create();
    first.journals.write("00000000-000000-1.journal.Ab12Cd", "morvane-journal 2\nsequence 7\n");
    first.files.write("f");
    first.moves = {{"f", "g"}};
    const std::string third = first.create();
    EXPECT_FALSE(pathExists(first.journals / "00000000-000000-1.journal.Ab12Cd"));
    auto records = RenameJournalReader::list(first.journals.path());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].runId, "00000000-000000-9");
    EXPECT_EQ(records[2].runId, third);
    EXPECT_LT(records[0].sequence, records[1].sequence);
    EXPECT_LT(records[1].sequence, records[2].sequence);
    // Damage the second: its plan is cut after the first step.
    const std::string text = readFile(first.journals / (records[1].runId + ".journal"));
    first.journals.write(records[1].runId + ".journal", text.substr(0, text.find("plan-end") - 8));
    records = RenameJournalReader::list(first.journals.path());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[1].damaged);
    EXPECT_EQ(records[1].steps.size(), 1u);
    EXPECT_EQ(records[1].plannedSteps, 2u);
    EXPECT_NE(records[1].state().find("damaged"), std::string::npos);
    EXPECT_FALSE(records[1].mayNeedUndo()); // undone only when named
}

TEST(RenameJournal, MarksSurviveAProcessKilledWithoutClosingTheJournal) {
    JournalledRun run;
    for (int i = 0; i < 50; ++i) {
        run.files.write("f" + std::to_string(i));
        run.moves.push_back({"f" + std::to_string(i), "g" + std::to_string(i)});
    }
    const pid_t child = fork();
    if (child == 0) {
        run.create();
        for (size_t i = 0; i < 30; ++i)
            run.journal->markDone(i);
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
    EXPECT_TRUE(records[0].mayNeedUndo());
}

// An edit recorded before its rename is where undo looks; a run that ended
// with nothing done needs no undo.
TEST(RenameJournal, EditsAndEndsAreRecorded) {
    JournalledRun run;
    run.files.write("a", "A");
    run.files.write("b", "B");
    run.moves = {{"a", "b"}};
    run.create();
    const auto edited = run.journal->recordEdit(0, run.files / "edited", false);
    ASSERT_TRUE(edited) << edited.messageIfFailed();
    ASSERT_TRUE(FileOperations::moveNoReplace(run.files / "a", run.files / "edited"));
    EXPECT_EQ(run.undo().restored, 1u);
    EXPECT_EQ(readFile(run.files / "a"), "A");
    EXPECT_EQ(readFile(run.files / "b"), "B");

    JournalledRun idle;
    idle.files.write("a");
    idle.moves = {{"a", "z"}};
    idle.create();
    ASSERT_TRUE(idle.journal->markEnd());
    const auto record = RenameJournalReader::read(idle.journalPath());
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->ended);
    EXPECT_FALSE(record->mayNeedUndo());
}

// Undo finds the newest undoable run by reading journals newest first and
// passing over undone ones unread: after every kind of newer run it names the
// run the full listing names.
TEST(RenameJournal, NewestUndoableRunAgreesWithTheFullListing) {
    JournalledRun run;
    const std::string folder = run.journals.path();
    const auto byListing = [&] {
        const auto records = RenameJournalReader::list(folder);
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->mayNeedUndo())
                return it->runId;
        return std::string();
    };
    const auto newest = [&] {
        const auto record = RenameJournalReader::newestUndoable(folder);
        return record ? record->runId : std::string();
    };
    const auto start = [&](const std::string& from, const std::string& to) {
        run.files.write(from);
        run.moves = {{from, to}};
        return run.create();
    };
    EXPECT_EQ(newest(), "");
    std::string done, interrupted;
    struct Stage {
        const char* label;
        std::function<void()> make;
        const std::string* expected;
    };
    const Stage stages[] = {
        {"a run done",
         [&] {
             done = start("a", "b");
             run.perform(1, 1);
             run.journal->markEnd();
         },
         &done},
        {"a newer run undone",
         [&] {
             start("c", "d");
             run.perform(1, 1);
             run.journal->markEnd();
             EXPECT_EQ(run.undo().status, UndoOutcome::Status::Complete);
         },
         &done},
        {"a newer run that ended with nothing done",
         [&] {
             start("e", "f");
             run.journal->markEnd();
         },
         &done},
        {"a newer run damaged",
         [&] {
             start("g", "h");
             const std::string text = readFile(run.journalPath());
             run.journals.write(run.journal->runId() + ".journal",
                                text.substr(0, text.find("plan-end") - 8));
         },
         &done},
        {"a newer run interrupted",
         [&] {
             interrupted = start("i", "j");
             run.perform(1, 1);
         },
         &interrupted},
    };
    for (const Stage& stage : stages) {
        stage.make();
        EXPECT_EQ(newest(), *stage.expected) << stage.label;
        EXPECT_EQ(newest(), byListing()) << stage.label;
    }
}
