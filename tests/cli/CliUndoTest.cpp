// The journal of morvane-cli rename and its undo, as a user meets them: a run
// killed partway, items in the way, runs listed and undone one after another.
#include "tests/cli/CliFixture.h"

#include <chrono>
#include <csignal>
#include <sys/stat.h>
#include <thread>

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;

class CliUndo : public CliTest {
protected:
    std::string folder() const { return home / "f"; }
    // The journal files of the home.
    std::vector<std::string> journals() const {
        std::vector<std::string> found;
        for (const auto& name : folderNames(home.journalFolder()))
            if (name.size() > 8 && name.substr(name.size() - 8) == ".journal")
                found.push_back(home.journalFolder() + "/" + name);
        return found;
    }
    // Starts a rename of every file in big/ and kills it as soon as "item 5"
    // is gone: the run goes in byte order, so about 45% are renamed by then.
    // True when it died partway, leaving the folder half renamed.
    bool killPartway(size_t count) {
        const pid_t pid =
            home.start({"rename", "--step", "Add to front", "--set", "string=renamed ", "--global",
                        "processFolders=0", "--global", "processSubfolders=1", home / "big"});
        const std::string first = home / "big/item 5";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        struct stat info {};
        while (lstat(first.c_str(), &info) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        kill(pid, SIGKILL);
        bool killed = false;
        waitForExit(pid, &killed);
        const size_t renamed = renamedCount();
        return killed && renamed > 0 && renamed < count;
    }
    size_t renamedCount() const {
        size_t renamed = 0;
        for (const auto& name : folderNames(home / "big"))
            renamed += name.rfind("renamed ", 0) == 0 ? 1 : 0;
        return renamed;
    }
};

} // namespace

TEST_F(CliUndo, UndoRestoresEveryOriginalNameAfterARunKilledPartway) {
    constexpr size_t count = 20000;
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back("big/item " + std::to_string(i));
    files(names);
    std::vector<std::string> original = folderNames(home / "big");

    // A fast machine may finish before the kill lands: then undo and try again.
    bool partway = false;
    for (int attempt = 0; attempt < 5 && !partway; ++attempt) {
        partway = killPartway(count);
        if (!partway) {
            home.run({"undo"});
            ASSERT_EQ(folderNames(home / "big"), original);
        }
    }
    ASSERT_TRUE(partway) << "the run always ended before it could be killed";
    const size_t renamed = renamedCount();
    const CliResult list = home.run({"undo", "--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find(std::to_string(count) + " pairs"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  interrupted  "), std::string::npos) << list.out;
    // Every rename left its mark, except perhaps the one the kill fell after.
    const size_t marks = std::stoul(list.out.substr(list.out.find(" pairs, ") + 8));
    EXPECT_LE(marks, renamed);
    EXPECT_GE(marks + 1, renamed);

    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(undo.out, std::to_string(renamed) + " items restored.\n");
    EXPECT_EQ(folderNames(home / "big"), original);
    EXPECT_NE(home.run({"undo", "--list"}).out.find("  undone  "), std::string::npos);
}

TEST_F(CliUndo, UndoNeverOverwritesAnItemThatAppearedMeanwhile) {
    const auto paths = files({"f/a", "f/b", "f/c"});
    ASSERT_EQ(home.run({"rename", "--step", "Make uppercase", paths[0], paths[1], paths[2]}).status,
              0);
    write("f/a", "newcomer");
    CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_EQ(undo.out, "2 items restored.\n");
    EXPECT_EQ(undo.err, "not restored: " + folder() + "/A: another item now has its old name\n");
    EXPECT_EQ(folderNames(folder()), (Names{"A", "a", "b", "c"}));
    EXPECT_EQ(readFile(folder() + "/a"), "newcomer");
    EXPECT_NE(
        home.run({"undo", "--list"})
            .out.find("  partly undone  3 pairs, 3 renamed  " + folder() + "  Make uppercase\n"),
        std::string::npos);

    // Once the way is clear, undo finishes the run.
    std::filesystem::rename(folder() + "/a", home / "newcomer");
    undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(undo.out, "1 item restored.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a", "b", "c"}));
}

TEST_F(CliUndo, AnItemMovedAwayIsReportedAndLeftWhereItIs) {
    const auto paths = files({"f/a", "f/b"});
    ASSERT_EQ(home.run({"rename", "--step", "Make uppercase", paths[0], paths[1]}).status, 0);
    std::filesystem::rename(folder() + "/B", home / "B elsewhere");
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_EQ(undo.err, "not restored: " + folder() + "/B: it is no longer at its new path\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a"}));
    EXPECT_TRUE(std::filesystem::exists(home / "B elsewhere"));
}

TEST_F(CliUndo, RunsAreListedAndUndoneNewestFirst) {
    const auto paths = files({"f/a"});
    ASSERT_EQ(home.run({"rename", "--step", "Add to end", "--set", "string=1", paths[0]}).status,
              0);
    ASSERT_EQ(
        home.run({"rename", "--step", "Add to end", "--set", "string=2", folder() + "/a1"}).status,
        0);
    CliResult list = home.run({"undo", "--list"});
    ASSERT_EQ(list.status, 0);
    ASSERT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 2) << list.out;
    EXPECT_NE(list.out.find("  done  1 pairs, 1 renamed  " + folder() + "  Add to end\n"),
              std::string::npos)
        << list.out;
    EXPECT_EQ(folderNames(folder()), (Names{"a12"}));

    EXPECT_EQ(home.run({"undo"}).out, "1 item restored.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a1"}));
    list = home.run({"undo", "--list"});
    const std::string second = list.out.substr(list.out.find('\n') + 1);
    EXPECT_NE(second.find("  undone  "), std::string::npos) << list.out;
    EXPECT_EQ(home.run({"undo"}).out, "1 item restored.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a"}));

    const CliResult nothing = home.run({"undo"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "morvane-cli: no run to undo\n");
}

TEST_F(CliUndo, ARunCanBeNamedAndARunWithoutJournalCannotBeUndone) {
    const auto paths = files({"f/a", "f/b"});
    const CliResult first = home.run({"rename", "--json", "--step", "Make uppercase", paths[0]});
    const std::string run = json(first)["run"].text;
    ASSERT_FALSE(run.empty());
    const CliResult second =
        home.run({"rename", "--json", "--no-journal", "--step", "Make uppercase", paths[1]});
    EXPECT_EQ(json(second)["run"].text, "");
    EXPECT_EQ(journals().size(), 1u);
    EXPECT_EQ(home.run({"undo", run}).out, "1 item restored.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"B", "a"}));
    const CliResult unknown = home.run({"undo", "20000101-000000-1"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err,
              "morvane-cli: no run 20000101-000000-1 (see 'morvane-cli undo --list')\n");
}

TEST_F(CliUndo, ANameEditedAtThePromptIsUndoneWithoutTouchingTheItemThatHeldThePlannedName) {
    const auto paths = files({"f/a"});
    write("f/a2", "someone else's");
    // The planned name a2 exists: at the question, give another name.
    const CliResult rename =
        home.run({"rename", "--interactive", "--step", "Add to end", "--set", "string=2", paths[0]},
                 "y\ne\nB\n");
    ASSERT_EQ(rename.status, 0) << rename.err;
    ASSERT_EQ(folderNames(folder()), (Names{"B", "a2"}));
    const CliResult undo = home.run({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(folderNames(folder()), (Names{"a", "a2"}));
    EXPECT_EQ(readFile(folder() + "/a2"), "someone else's");
}
