// morvane-cli rename: outcomes, exit statuses, the conflict check, prompts,
// saved lists fed back, and what goes to a terminal.
#include "MorvaneVersion.h"
#include "tests/cli/CliFixture.h"

#include <sstream>

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class CliRename : public CliTest {
protected:
    std::string folder() const { return home / "f"; }
    // The outcome of every pair of a rename --json, by old path.
    static std::map<std::string, std::string> outcomes(const Json& report) {
        std::map<std::string, std::string> result;
        for (const auto& pair : report["pairs"].items)
            result[pair["oldPath"].text] = pair["outcome"].text;
        return result;
    }
};

} // namespace

TEST_F(CliRename, JsonReportsEveryPairTheCountsAndTheRun) {
    const auto paths = files({"f/a.txt", "f/b.txt", "f/C.TXT"});
    const CliResult result =
        home.run(concat({"rename", "--json", "--step", "Make uppercase"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    const Json report = json(result);
    EXPECT_EQ(outcomes(report),
              (std::map<std::string, std::string>{
                  {paths[0], "renamed"}, {paths[1], "renamed"}, {paths[2], "unchanged"}}));
    for (const auto& pair : report["pairs"].items) {
        if (pair["oldPath"].text == paths[0]) {
            EXPECT_EQ(pair["newPath"].text, folder() + "/A.TXT");
        }
    }
    const Json& counts = report["counts"];
    EXPECT_EQ(counts["renamed"].number, 2);
    EXPECT_EQ(counts["unchanged"].number, 1);
    EXPECT_EQ(counts["skipped-existing"].number, 0);
    EXPECT_EQ(counts["failed"].number, 0);
    EXPECT_FALSE(report["run"].text.empty());
    EXPECT_EQ(report["summary"].text, "2 file names were changed.");
    EXPECT_EQ(folderNames(folder()), (Names{"A.TXT", "B.TXT", "C.TXT"}));
}

TEST_F(CliRename, ARunWithoutChangesSucceeds) {
    const auto paths = files({"f/ABC"});
    const CliResult result = home.run(concat({"rename", "--step", "Make uppercase"}, paths));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "The current settings did not result in any file name changes\n");
}

TEST_F(CliRename, AnExistingTargetIsSkippedReportedAndMakesTheStatusOne) {
    const auto paths = files({"f/a.txt", "f/b.txt"});
    write("f/b.txt.old", "already here");
    const CliResult text =
        home.run(concat({"rename", "--step", "Add to end", "--set", "string=.old"}, paths));
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err, "skipped: " + paths[1] + ": " + paths[1] + ".old already exists\n");
    EXPECT_EQ(text.out, "1 file name was changed.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"a.txt.old", "b.txt", "b.txt.old"}));
    EXPECT_EQ(readFile(folder() + "/b.txt.old"), "already here");

    // The same again as JSON: both now meet an existing item.
    write("f/a.txt", "");
    const CliResult json_ =
        home.run(concat({"rename", "--json", "--step", "Add to end", "--set", "string=.old"},
                        {folder() + "/a.txt", folder() + "/b.txt"}));
    EXPECT_EQ(json_.status, 1);
    const Json report = json(json_);
    EXPECT_EQ(report["counts"]["skipped-existing"].number, 2);
    EXPECT_EQ(report["counts"]["renamed"].number, 0);
    for (const auto& pair : report["pairs"].items) {
        EXPECT_EQ(pair["outcome"].text, "skipped-existing");
        EXPECT_EQ(pair["newPath"].text, pair["oldPath"].text + ".old");
    }
}

TEST_F(CliRename, ConflictsStopTheRunBeforeAnythingIsRenamed) {
    const auto paths = files({"f/x.txt", "f/y.txt", "f/z.TXT"});
    // x.txt and y.txt both become "same.txt".
    const std::vector<std::string> sameName = {
        "--step", "Completely rename", "--set", "newName=same", "--set", "fragmentSelection=1"};
    // z.TXT becomes "same.TXT", which collides with nothing.
    CliResult result = home.run(concat(concat({"rename"}, sameName), paths));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("items would get the same name"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("  " + paths[0] + " -> " + folder() + "/same.txt\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("  " + paths[1] + " -> " + folder() + "/same.txt\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find(paths[2]), std::string::npos) << result.err;
    EXPECT_EQ(folderNames(folder()), (Names{"x.txt", "y.txt", "z.TXT"}));
    // No journal: only the run lock is there.
    EXPECT_EQ(folderNames(home.journalFolder()), (Names{"run.lock"}));

    // As JSON: the colliding pairs on standard output.
    result = home.run(concat(concat({"rename", "--json"}, sameName), paths));
    EXPECT_EQ(result.status, 1);
    const Json stopped = json(result);
    ASSERT_EQ(stopped["conflicts"].size(), 2u);
    EXPECT_EQ(stopped["conflicts"][0]["oldPath"].text, paths[0]);
    EXPECT_EQ(stopped["conflicts"][1]["newPath"].text, folder() + "/same.txt");
    EXPECT_FALSE(stopped["renamed"].boolean);
    EXPECT_EQ(folderNames(folder()), (Names{"x.txt", "y.txt", "z.TXT"}));

    // Going ahead: the first takes the name, the second meets it on disk.
    result = home.run(concat(concat({"rename", "--json", "--allow-conflicts"}, sameName), paths));
    EXPECT_EQ(result.status, 1);
    const Json report = json(result);
    EXPECT_EQ(report["counts"]["renamed"].number, 2);
    EXPECT_EQ(report["counts"]["skipped-existing"].number, 1);
    EXPECT_EQ(folderNames(folder()), (Names{"same.TXT", "same.txt", "y.txt"}));
}

TEST_F(CliRename, ExitStatusTwoIsAUsageErrorWithAOneLineReason) {
    const auto paths = files({"f/a"});
    const std::vector<std::vector<std::string>> usageErrors = {
        {},
        {"rename"},
        {"rename", "--step", "Make uppercase"},
        {"rename", "--bogus", paths[0]},
        {"rename", "--step", "No such action", paths[0]},
        {"rename", "--step", "Add number to end", "--set", "padding=x", paths[0]},
        {"rename", "--step", "Make uppercase", "--current", "1", paths[0]},
        {"rename", "--step", "Make uppercase", "--global", "processFiles=maybe", paths[0]},
        {"rename", "--chain", home / "missing.plist", paths[0]},
        {"rename", "--app-chain", paths[0]},
        {"rename", "--step", "Rename from list", "--set", "list file path=nowhere.txt", paths[0]},
        {"save-list", "--step", "Make uppercase", "--layout", "3", "--output", "o", paths[0]},
        {"undo", "one", "two"},
    };
    for (const auto& args : usageErrors) {
        const CliResult result = home.run(args);
        std::string command;
        for (const auto& a : args)
            command += a + " ";
        EXPECT_EQ(result.status, 2) << command;
        EXPECT_EQ(result.out, "") << command;
        // One line of reason, one pointing to --help.
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
        EXPECT_NE(result.err.find("Try 'morvane-cli --help'."), std::string::npos) << command;
    }
    EXPECT_EQ(folderNames(folder()), (Names{"a"}));
}

TEST_F(CliRename, ExitStatusOneWhenACheckStopsTheRunWithItsAlertOnStandardError) {
    const auto paths = files({"f/a"});
    CliResult result =
        home.run(concat({"rename", "--step", "Make uppercase", "--set", "active=0"}, paths));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("There are no active renaming actions.\n", 0), 0u) << result.err;
    result = home.run(concat({"rename", "--step", "Make uppercase", "--global", "processFiles=0",
                              "--global", "processFolders=0"},
                             paths));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("Neither files nor folders are to be renamed.\n", 0), 0u)
        << result.err;
    result = home.run(
        concat({"rename", "--step", "Make uppercase", "--global", "processFiles=0"}, paths));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("There are no items to rename.\n", 0), 0u) << result.err;
    EXPECT_EQ(folderNames(folder()), (Names{"a"}));
}

TEST_F(CliRename, ARefusedPathIsReportedTheOthersAreRenamed) {
    const auto paths = files({"f/a", "f/b"});
    const CliResult result =
        home.run({"rename", "--step", "Make uppercase", paths[0], "f/missing", "f/a", paths[1]});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "morvane-cli: f/missing: no such file or folder\n"
                          "morvane-cli: f/a: not added, it is or lies in a folder already in the "
                          "list\n");
    EXPECT_EQ(result.out, "2 file names were changed.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"A", "B"}));
}

TEST_F(CliRename, SaveListLayoutTwoFedBackThroughRenameFromList) {
    const auto paths = files({"f/one.txt", "f/two.txt", "f/three.txt"});
    const std::string list = home / "names.txt";
    CliResult result = home.run(concat({"save-list", "--step", "Add to front", "--set",
                                        "string=new ", "--layout", "2", "--output", "names.txt"},
                                       paths));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string saved = readFile(list);
    EXPECT_NE(saved.find(paths[0] + "\tnew one.txt"), std::string::npos) << saved;
    EXPECT_EQ(folderNames(folder()), (Names{"one.txt", "three.txt", "two.txt"}));

    // Edit one line, as a user would, and rename from the list.
    std::string edited = saved;
    edited.replace(edited.find("new two.txt"), 11, "2.txt");
    write("names.txt", edited);
    result = home.run(concat(
        {"rename", "--step", "Rename from list", "--set", "list file path=names.txt"}, paths));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "3 file names were changed.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"2.txt", "new one.txt", "new three.txt"}));
}

TEST_F(CliRename, SaveListWithChangedOnlyLeavesUnchangedItemsOut) {
    const auto paths = files({"f/KEEP", "f/change"});
    CliResult result = home.run(concat({"save-list", "--step", "Make uppercase", "--layout", "0",
                                        "--changed-only", "--output", home / "out.txt"},
                                       paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readFile(home / "out.txt").find("KEEP"), std::string::npos);
    EXPECT_NE(readFile(home / "out.txt").find("change\tCHANGE"), std::string::npos);
    result = home.run(concat(
        {"save-list", "--step", "Make uppercase", "--layout", "1", "--output", home / "all.txt"},
        paths));
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string all = readFile(home / "all.txt");
    EXPECT_NE(all.find("KEEP"), std::string::npos) << all;
    EXPECT_NE(all.find("CHANGE"), std::string::npos) << all;
}

TEST_F(CliRename, InteractiveAsksBeforeEachRenameAndTakesAnEditedName) {
    const auto paths = files({"f/a", "f/b", "f/c"});
    // a: edit to "edited", b: no, c: yes.
    const CliResult result =
        home.run(concat({"rename", "--interactive", "--step", "Make uppercase"}, paths),
                 "e\nedited\nn\ny\n");
    EXPECT_EQ(result.status, 1); // b was skipped
    size_t questions = 0;
    for (size_t at = result.err.find("Rename?"); at != std::string::npos;
         at = result.err.find("Rename?", at + 1))
        ++questions;
    EXPECT_EQ(questions, 3u) << result.err;
    EXPECT_NE(result.err.find("Rename?\n  " + paths[0] + "\n  -> A\n"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "2 file names were changed.\n");
    EXPECT_EQ(folderNames(folder()), (Names{"C", "b", "edited"}));
}

TEST_F(CliRename, InteractiveAsksAboutConflictsAndAnExistingItem) {
    const auto paths = files({"f/x1", "f/x2"});
    write("f/y", "");
    const std::vector<std::string> chain = {"--step", "Completely rename", "--set", "newName=y"};
    // "n" at the conflict question: nothing happens.
    CliResult result = home.run(concat(concat({"rename", "--interactive"}, chain), paths), "n\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(folderNames(folder()), (Names{"x1", "x2", "y"}));
    // "y" goes ahead; "y" confirms x1, then "e" renames it under another name
    // as y exists; x2: "q" stops the run.
    result = home.run(concat(concat({"rename", "--interactive"}, chain), paths), "y\ny\ne\nz\nq\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("An item with the new name already exists."), std::string::npos)
        << result.err;
    EXPECT_EQ(folderNames(folder()), (Names{"x2", "y", "z"}));
}

TEST_F(CliRename, NoProgressOnAPipeABarOnATerminalForLongLists) {
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i)
        names.push_back("long/f" + std::to_string(i));
    files(names);
    CliResult result =
        home.run({"rename", "--step", "Make uppercase", "--global", "processFolders=0", "--global",
                  "processSubfolders=1", home / "long"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    result =
        home.runWithTerminal({"rename", "--step", "Make lowercase", "--global", "processFolders=0",
                              "--global", "processSubfolders=1", home / "long"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "400 file names were changed.\n");
    EXPECT_NE(result.err.find("Renaming (5/5)    ["), std::string::npos);
    EXPECT_NE(result.err.find("400 of 400 items"), std::string::npos);
    // The bar is cleared at the end.
    EXPECT_EQ(result.err.substr(result.err.size() - 4), "\r\033[K");
    // A short list gets no bar even on a terminal.
    files({"short/a"});
    result = home.runWithTerminal({"rename", "--step", "Make uppercase", home / "short/a"});
    EXPECT_EQ(result.err, "");
}

TEST_F(CliRename, ActionsListsNamesTitlesAndDefaults) {
    CliResult result = home.run({"actions", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    const Json actions = json(result);
    ASSERT_EQ(actions.kind, Json::Kind::Array);
    EXPECT_EQ(actions.size(), 49u);
    bool found = false;
    for (const auto& action : actions.items) {
        EXPECT_FALSE(action["title"].text.empty());
        if (action["name"].text != "Add number to start")
            continue;
        found = true;
        EXPECT_EQ(action["title"].text, "Add Number to Start");
        EXPECT_EQ(action["parameters"]["padding"].number, 2);
        EXPECT_EQ(action["parameters"]["active"].number, 1);
    }
    EXPECT_TRUE(found);
    result = home.run({"actions"});
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Replace text  (Replace Text)\n"), std::string::npos);
    EXPECT_NE(result.out.find("    search term = \"\"\n"), std::string::npos);
}

// The lists shell completion reads: the names agree with the JSON listing, the
// keys of a step with its parameters, the global keys with what --global takes.
TEST_F(CliRename, ActionsListsNamesAndKeysOneALine) {
    CliResult all = home.run({"actions", "--json"});
    ASSERT_EQ(all.status, 0) << all.err;
    std::string names, replaceKeys;
    for (const auto& action : json(all).items) {
        names += action["name"].text + "\n";
        if (action["name"].text == "Replace text")
            for (const auto& [key, value] : action["parameters"].members)
                replaceKeys += key + "\n";
    }
    EXPECT_EQ(home.run({"actions", "--names"}).out, names);
    const CliResult keys = home.run({"actions", "--keys", "Replace text"});
    EXPECT_EQ(keys.status, 0);
    EXPECT_EQ(keys.out, replaceKeys);
    EXPECT_NE(keys.out.find("search term\n"), std::string::npos);

    const CliResult unknown = home.run({"actions", "--keys", "Replace txt"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("no action \"Replace txt\""), std::string::npos);

    const CliResult globals = home.run({"actions", "--global-keys"});
    EXPECT_EQ(globals.status, 0);
    for (const char* key : {"processFiles\n", "processSubfolders\n", "interactiveMode\n"})
        EXPECT_NE(globals.out.find(key), std::string::npos) << key;
    // Every key listed is one --global takes.
    files({"g/a"});
    std::istringstream lines(globals.out);
    for (std::string key; std::getline(lines, key);) {
        EXPECT_EQ(
            home.run({"preview", "--step", "Make uppercase", "--global", key + "=0", home / "g/a"})
                .status,
            0)
            << key;
    }
}

TEST_F(CliRename, HelpAndVersion) {
    CliResult result = home.run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("Usage:\n  morvane-cli preview", 0), 0u);
    EXPECT_NE(result.out.find("--allow-conflicts"), std::string::npos);
    result = home.run({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "morvane-cli " MORVANE_VERSION "\n");
}
