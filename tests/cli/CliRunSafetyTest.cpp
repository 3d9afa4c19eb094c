// Runs that finish what they can and undo exactly, tried the way a careful
// user or a crash would break them: kills placed after the K-th rename (the
// MORVANE_TEST_KILL_AFTER_RENAMES hook), items moved by hand, two runs at
// once, a journal that cannot be written.
#include "tests/cli/CliFixture.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;
using Contents = std::map<std::string, std::string>; // name -> content

class CliRunSafety : public CliTest {
protected:
    std::string folder() const { return home / "f"; }
    // Files named after their content ("content of NAME").
    void make(const Names& names) const {
        for (const auto& name : names)
            write("f/" + name, "content of " + name);
    }
    Contents contents() const {
        Contents found;
        for (const auto& name : folderNames(folder()))
            found[name] = readFile(folder() + "/" + name);
        return found;
    }
    // "Rename from list" with full path -> new name pairs, over the whole folder.
    CliResult renameByList(const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::string list;
        for (const auto& [from, to] : pairs)
            list += folder() + "/" + from + "\t" + to + "\n";
        write("list.txt", list);
        return home.run({"rename", "--step", "Rename from list", "--set", "list file path=list.txt",
                         "--global", "processFolders=0", "--global", "processSubfolders=1",
                         folder()});
    }
    std::vector<std::string> changeNumbers(int by) const {
        return {"rename",
                "--step",
                "Change numbers",
                "--set",
                "operand=" + std::to_string(by < 0 ? -by : by),
                "--set",
                std::string("operation mode=") + (by < 0 ? "1" : "0"),
                "--set",
                "padding=2",
                "--global",
                "processFolders=0",
                "--global",
                "processSubfolders=1",
                folder()};
    }
    void killAfter(int renames) {
        home.extraEnvironment = {"MORVANE_TEST_KILL_AFTER_RENAMES=" + std::to_string(renames)};
    }
    void noKill() { home.extraEnvironment.clear(); }
};

Names numbered(int first, int last) {
    Names names;
    for (int i = first; i <= last; ++i)
        names.push_back((i < 10 ? "f0" : "f") + std::to_string(i));
    return names;
}

} // namespace

// A shift, a swap and a three-item cycle are renamed completely (each target
// is freed by the batch itself), and a run killed after any of its renames,
// before its journal mark, is undone exactly.
TEST_F(CliRunSafety, ShiftSwapAndCycleRunCompletelyAndAreUndoneAfterAKillAtEveryStep) {
    struct Case {
        const char* label;
        Names files;
        std::vector<std::pair<std::string, std::string>> pairs;
        int renames; // renames on disk for the whole run
    };
    const std::vector<Case> cases = {
        {"shift", {"f1", "f2", "f3"}, {{"f1", "f2"}, {"f2", "f3"}, {"f3", "f4"}}, 3},
        {"swap", {"a", "b"}, {{"a", "b"}, {"b", "a"}}, 3},
        {"cycle", {"a", "b", "c"}, {{"a", "b"}, {"b", "c"}, {"c", "a"}}, 4},
    };
    for (const Case& c : cases) {
        for (int kill = 0; kill <= c.renames; ++kill) {
            std::filesystem::remove_all(folder());
            make(c.files);
            const Contents original = contents();
            kill ? killAfter(kill) : noKill();
            const CliResult run = renameByList(c.pairs);
            noKill();
            if (kill == 0) {
                ASSERT_EQ(run.status, 0) << c.label << run.err;
                EXPECT_EQ(run.out, std::to_string(c.pairs.size()) + " file names were changed.\n");
                for (const auto& [from, to] : c.pairs)
                    EXPECT_EQ(readFile(folder() + "/" + to), "content of " + from) << c.label;
                EXPECT_EQ(contents().size(), original.size()) << c.label;
            } else {
                ASSERT_EQ(run.status, -1) << c.label << " kill " << kill << run.err;
            }
            const CliResult undo = home.run({"undo"});
            EXPECT_EQ(undo.status, 0) << c.label << " kill " << kill << undo.err;
            EXPECT_EQ(undo.err, "") << c.label << " kill " << kill;
            EXPECT_EQ(contents(), original) << c.label << " kill " << kill;
        }
    }
    EXPECT_EQ(home.run({"undo"}).err, "morvane-cli: no run to undo\n");
}

// A change of case through the temporary name (mechanism 1), killed between
// its halves, is undone; the temporary name is free again.
TEST_F(CliRunSafety, ACaseChangeKilledAtItsTemporaryNameIsUndone) {
    make({"a", "b"});
    const Contents original = contents();
    const std::vector<std::string> upper = {"rename",       "--step",       "Make uppercase",
                                            "--global",     "renameMode=1", folder() + "/a",
                                            folder() + "/b"};
    for (int kill = 1; kill <= 4; ++kill) {
        killAfter(kill);
        ASSERT_EQ(home.run(upper).status, -1);
        noKill();
        const CliResult undo = home.run({"undo"});
        EXPECT_EQ(undo.status, 0) << kill << undo.err;
        EXPECT_EQ(contents(), original) << kill;
    }
    const CliResult again = home.run(upper);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(folderNames(folder()), (Names{"A", "B"}));
}

// Undo moves back only the items the run moved, however the folder changed since.
TEST_F(CliRunSafety, UndoMovesBackOnlyTheItemsTheRunMoved) {
    // A file renamed by the run was moved away and another made under its new name.
    make({"report"});
    ASSERT_EQ(renameByList({{"report", "report_old"}}).status, 0);
    std::filesystem::rename(folder() + "/report_old", home / "elsewhere");
    write("f/report_old", "a new file");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const CliResult undo = home.run({"undo"});
        EXPECT_EQ(undo.status, 1);
        EXPECT_EQ(undo.out, "0 items restored.\n");
        EXPECT_EQ(undo.err,
                  "not restored: " + folder() + "/report_old: it is no longer at its new path\n");
        EXPECT_EQ(contents(), (Contents{{"report_old", "a new file"}}));
    }
    std::filesystem::remove_all(home.journalFolder());

    // A shift up, then a file moved away by hand: the rest goes back, twice asked.
    std::filesystem::remove_all(folder());
    make(numbered(1, 5));
    ASSERT_EQ(home.run(changeNumbers(1)).status, 0);
    std::filesystem::rename(folder() + "/f04", home / "f04 elsewhere");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const CliResult undo = home.run({"undo"});
        EXPECT_EQ(undo.status, 1);
        EXPECT_EQ(undo.out, attempt == 0 ? "4 items restored.\n" : "0 items restored.\n");
        EXPECT_EQ(undo.err,
                  "not restored: " + folder() + "/f04: it is no longer at its new path\n");
        Contents expected;
        for (const auto& name : Names{"f01", "f02", "f04", "f05"})
            expected[name] = "content of " + name;
        EXPECT_EQ(contents(), expected) << attempt;
    }
    std::filesystem::remove_all(home.journalFolder());

    // Twenty files shifted down, killed after six renames, one of them moved away.
    std::filesystem::remove_all(folder());
    make(numbered(2, 21));
    killAfter(6);
    ASSERT_EQ(home.run(changeNumbers(-1)).status, -1);
    noKill();
    std::filesystem::rename(folder() + "/f03", home / "f03 elsewhere"); // was f04
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_EQ(undo.out, "5 items restored.\n");
    Contents expected;
    for (const auto& name : numbered(2, 21))
        if (name != "f04")
            expected[name] = "content of " + name;
    EXPECT_EQ(contents(), expected);
}

// A run killed before any of its marks reached the journal (as after a power
// loss) is still the newest run, and undo takes it first.
TEST_F(CliRunSafety, UndoTakesTheNewestRunEvenWithoutMarks) {
    make(numbered(1, 3));
    ASSERT_EQ(home.run(changeNumbers(1)).status, 0); // f02 f03 f04
    const Contents afterFirst = contents();
    killAfter(1);
    ASSERT_EQ(home.run(changeNumbers(1)).status, -1); // f04 -> f05, unmarked
    noKill();
    const CliResult list = home.run({"undo", "--list"});
    EXPECT_NE(list.out.find("  interrupted  3 pairs, none renamed  "), std::string::npos)
        << list.out;
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(undo.out, "1 item restored.\n");
    EXPECT_EQ(contents(), afterFirst);
    EXPECT_EQ(home.run({"undo"}).status, 0);
    EXPECT_EQ(folderNames(folder()), numbered(1, 3));
}

// One run at a time: a second run waits, then refuses naming the holder, and
// renames nothing; two runs started together never mix their work.
TEST_F(CliRunSafety, OneRunAtATime) {
    make(numbered(1, 3));
    std::filesystem::create_directories(home.journalFolder());
    const std::string lockPath = home.journalFolder() + "/run.lock";
    const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    ASSERT_EQ(::write(fd, "process 4242 (rename run, since now)\n", 37), 37);
    const auto start = std::chrono::steady_clock::now();
    CliResult refused = home.run(changeNumbers(1));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("process 4242 (rename run, since now)"), std::string::npos)
        << refused.err;
    EXPECT_EQ(folderNames(folder()), numbered(1, 3));
    close(fd);

    // Up and down at once over 3,000 files, then undo until nothing is left.
    std::filesystem::remove_all(folder());
    make(numbered(1, 3000));
    const Contents original = contents();
    const pid_t up = home.start(changeNumbers(1));
    const CliResult down = home.run(changeNumbers(-1));
    EXPECT_TRUE(down.status == 0 ||
                down.err.find("another rename or undo is running") != std::string::npos)
        << down.err;
    waitForExit(up);
    for (int i = 0; i < 3 && home.run({"undo"}).status == 0; ++i) {
    }
    EXPECT_EQ(contents(), original);
}

// No journal, no run: nothing is renamed and the reason is given.
TEST_F(CliRunSafety, ARunWhoseJournalCannotBeWrittenDoesNotStart) {
    make(numbered(1, 100));
    const Contents original = contents();
    enum class Journals { Writable, Blocked, ReadOnly };
    struct Case {
        const char* label;
        long fileSizeLimit; // a full disk, as far as the journal is concerned
        Journals folder;
        const char* cause;
    };
    const bool readOnlyBinds = permissionsBindProcesses();
    for (const Case c : {Case{"file-size limit", 2000, Journals::Writable, "File too large"},
                         Case{"state blocked", 0, Journals::Blocked, "Not a directory"},
                         Case{"read-only folder", 0, Journals::ReadOnly, "Permission denied"}}) {
        if (c.folder == Journals::ReadOnly && !readOnlyBinds)
            continue; // root that cannot give up its override writes anyway
        std::filesystem::remove_all(home.journalFolder());
        if (c.folder == Journals::Blocked)
            write(home.journalFolder(), "a file where the folder should be");
        if (c.folder == Journals::ReadOnly) {
            std::filesystem::create_directories(home.journalFolder());
            chmod(home.journalFolder().c_str(), 0555);
        }
        home.fileSizeLimit = c.fileSizeLimit;
        home.withoutOverride = true;
        const CliResult run = home.run(changeNumbers(1));
        home.fileSizeLimit = 0;
        home.withoutOverride = false;
        chmod(home.journalFolder().c_str(), 0755);
        EXPECT_EQ(run.status, 1) << c.label;
        EXPECT_NE(run.err.find("nothing was renamed"), std::string::npos) << c.label << run.err;
        EXPECT_NE(run.err.find(c.cause), std::string::npos) << c.label << run.err;
        EXPECT_EQ(contents(), original) << c.label;
    }
    std::filesystem::remove_all(home.journalFolder());
    write(home.journalFolder(), "a file where the folder should be");
    // --no-journal is the way to run without one, even where no journal can be.
    std::vector<std::string> args = changeNumbers(1);
    args.insert(args.begin() + 1, "--no-journal");
    const CliResult run = home.run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    Names expected = numbered(2, 101);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderNames(folder()), expected);
}

// A name typed at the prompt is in the journal before its rename.
TEST_F(CliRunSafety, ANameEditedAtThePromptIsUndoneAfterAKill) {
    make({"a", "a2"});
    killAfter(1);
    const CliResult rename = home.run(
        {"rename", "--interactive", "--step", "Add to end", "--set", "string=2", folder() + "/a"},
        "y\ne\nB\n");
    noKill();
    ASSERT_EQ(rename.status, -1) << rename.err;
    ASSERT_EQ(folderNames(folder()), (Names{"B", "a2"}));
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(contents(), (Contents{{"a", "content of a"}, {"a2", "content of a2"}}));
}

// Undo checks its own records: when they cannot be written it moves nothing
// and says so; a killed undo is finished by the next without false errors.
TEST_F(CliRunSafety, UndoThatCannotRecordOrIsKilledIsFinishedByTheNext) {
    make(numbered(1, 6));
    make({"notes"}); // no number: it keeps its name
    const Contents original = contents();
    ASSERT_EQ(home.run(changeNumbers(1)).status, 0);
    const Contents renamed = contents();
    home.fileSizeLimit = 1; // every journal is longer: no append succeeds
    CliResult undo = home.run({"undo"});
    home.fileSizeLimit = 0;
    EXPECT_EQ(undo.status, 1);
    EXPECT_NE(undo.err.find("nothing was undone"), std::string::npos) << undo.err;
    EXPECT_EQ(contents(), renamed);
    for (int kill = 1; kill <= 6; ++kill) {
        killAfter(kill);
        ASSERT_EQ(home.run({"undo"}).status, -1) << kill;
        noKill();
        undo = home.run({"undo"});
        EXPECT_EQ(undo.status, 0) << kill << undo.err;
        EXPECT_EQ(undo.err, "") << kill;
        EXPECT_EQ(contents(), original) << kill;
        ASSERT_EQ(home.run(changeNumbers(1)).status, 0);
    }
}

// Temporary plan files of runs killed while writing them are removed at the
// next start; a damaged journal is listed as damaged.
TEST_F(CliRunSafety, LeftoversAreRemovedAndDamageIsListed) {
    make({"a"});
    write(home.journalFolder() + "/20260101-000000-1.journal.Xy12Zw", std::string(5000, 'x'));
    write(home.journalFolder() + "/20260101-000000-2.journal",
          "morvane-journal 2\nsequence 1\ncreated 0\nsteps 2\n1 1 1 1 f w\na\nb\n");
    ASSERT_EQ(home.run({"rename", "--step", "Make uppercase", folder() + "/a"}).status, 0);
    EXPECT_FALSE(
        std::filesystem::exists(home.journalFolder() + "/20260101-000000-1.journal.Xy12Zw"));
    const CliResult list = home.run({"undo", "--list"});
    EXPECT_NE(list.out.find("20260101-000000-2  "), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("damaged (its plan is damaged after step 1; 1 of 2 steps readable)"),
              std::string::npos)
        << list.out;
    // The newest run is still the one undone first.
    EXPECT_EQ(home.run({"undo"}).out, "1 item restored.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a"}));
}
