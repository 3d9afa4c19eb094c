// A disk that changes under a run: between the plan and the renames another
// program removes an item, takes a new name, or a folder turns read-only.
// The run reports each such item with its cause and goes on; nothing is
// overwritten, the exit status is 1, and undo restores what was renamed.
#include "tests/cli/CliFixture.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;

struct Change {
    const char* label;
    std::string name;                   // the item, below the folder
    std::function<void()> makeChange;   // what another program does meanwhile
    std::string outcome, reason, error; // the pair in the report
};

class CliChangingDisk : public CliTest {
protected:
    std::string folder() const { return home / "f"; }
    std::string at(const std::string& name) const { return folder() + "/" + name; }
};

} // namespace

TEST_F(CliChangingDisk, ItemsChangedBetweenThePlanAndTheRenameAreReportedAndTheRunGoesOn) {
    if (!permissionsBindProcesses())
        GTEST_SKIP() << "file permissions cannot bind the command line here";
    home.withoutOverride = true;
    const std::vector<Change> changes = {
        {"untouched", "first", [] {}, "renamed", "", ""},
        {"removed", "gone", [this] { std::filesystem::remove(at("gone")); }, "failed",
         "No such file or directory (the item is no longer at " + at("gone") + ")", "ENOENT"},
        {"new name taken", "taken", [this] { write(at("taken_new"), "another program's"); },
         "skipped-existing", "", ""},
        {"folder read-only", "locked/inside", [this] { chmod(at("locked").c_str(), 0555); },
         "failed", "Permission denied", "EACCES"},
        {"untouched too", "last", [] {}, "renamed", "", ""},
    };
    for (const auto& change : changes)
        write(at(change.name), change.name);
    bool changed = false;
    size_t seen = 0; // standard error already answered
    // The first question comes after the plan and its journal, before any
    // rename: the other program acts then. "a" renames the rest without
    // asking; an item found at a new name is left alone ("n").
    const CliResult run = home.converse(
        {"rename", "--interactive", "--json", "--step", "Add to end", "--set", "string=_new",
         "--global", "processFolders=0", "--global", "processSubfolders=1", folder()},
        [&](const std::string& err, pid_t) -> std::string {
            const bool aboutExisting = err.find("already exists", seen) != std::string::npos;
            seen = err.size();
            if (aboutExisting)
                return "n";
            if (!changed)
                for (const auto& change : changes)
                    change.makeChange();
            changed = true;
            return "a";
        });
    ASSERT_TRUE(changed) << run.err; // the question came, the disk changed
    EXPECT_EQ(run.status, 1) << run.err;
    const Json report = json(run);
    ASSERT_EQ(report["pairs"].items.size(), changes.size()) << run.out;
    for (const auto& change : changes) {
        SCOPED_TRACE(change.label);
        const auto& pairs = report["pairs"].items;
        const auto pair = std::find_if(pairs.begin(), pairs.end(), [&](const Json& p) {
            return p["oldPath"].text == at(change.name);
        });
        ASSERT_NE(pair, pairs.end());
        EXPECT_EQ((*pair)["outcome"].text, change.outcome);
        EXPECT_EQ((*pair)["reason"].text, change.reason);
        EXPECT_EQ((*pair)["error"].text, change.error);
    }
    EXPECT_EQ(folderNames(folder()),
              (Names{"first_new", "last_new", "locked", "taken", "taken_new"}));
    EXPECT_EQ(readFile(at("taken_new")), "another program's");
    EXPECT_EQ(folderNames(at("locked")), Names{"inside"});

    // Undo gives the renamed items their names back and touches nothing else.
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(folderNames(folder()), (Names{"first", "last", "locked", "taken", "taken_new"}));
    EXPECT_EQ(readFile(at("first")), "first");
    EXPECT_EQ(readFile(at("taken_new")), "another program's");
    chmod(at("locked").c_str(), 0755);
}

// The journal's disk fills after the run started: a name typed at the prompt
// cannot be recorded, so that item is not renamed (its rename could not be
// undone); the others are, the end of the run is reported unrecorded, and
// undo still restores them. The limit stands in for the full disk.
TEST_F(CliChangingDisk, AJournalThatFillsDuringTheRunFailsOnlyWhatItCannotRecord) {
    for (const char* name : {"a", "b", "c"})
        write(at(name), name);
    home.fileSizeLimit = 1L << 30; // the process ignores SIGXFSZ; the limit comes later
    int questions = 0;
    const CliResult run = home.converse(
        {"rename", "--interactive", "--json", "--step", "Add to end", "--set", "string=_new",
         "--global", "processFolders=0", "--global", "processSubfolders=1", folder()},
        [&](const std::string&, pid_t process) -> std::string {
            if (++questions > 1)
                return "a";
            // The journal holds the plan now; it may not grow any more.
            const auto journals = folderNames(home.journalFolder());
            const auto journal = std::find_if(journals.begin(), journals.end(), [](auto& n) {
                return n.size() > 8 && n.compare(n.size() - 8, 8, ".journal") == 0;
            });
            EXPECT_NE(journal, journals.end());
            const auto size = static_cast<rlim_t>(
                std::filesystem::file_size(home.journalFolder() + "/" + *journal));
            const rlimit full{size, size};
            EXPECT_EQ(prlimit(process, RLIMIT_FSIZE, &full, nullptr), 0);
            return "e\nedited";
        });
    home.fileSizeLimit = 0;
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("warning: the journal could not record the end of the run"),
              std::string::npos)
        << run.err;
    const Json report = json(run);
    std::map<std::string, int> outcomes;
    for (const auto& pair : report["pairs"].items) {
        ++outcomes[pair["outcome"].text];
        if (pair["outcome"].text == "failed") {
            EXPECT_EQ(pair["error"].text, "EFBIG");
            EXPECT_EQ(pair["reason"].text.rfind("cannot record the new name in the journal", 0), 0u)
                << pair["reason"].text;
        }
    }
    EXPECT_EQ(outcomes, (std::map<std::string, int>{{"failed", 1}, {"renamed", 2}}));
    EXPECT_EQ(folderNames(folder()).size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(at("edited")));

    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(folderNames(folder()), (Names{"a", "b", "c"}));
}
