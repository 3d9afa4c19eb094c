// morvane-cli warning before it is too late: previews that mark names taken on
// disk, lists that say why they do not load, saved lists on standard output,
// undo listings that tell runs apart, and the progress of long lists of paths.
#include "tests/cli/CliFixture.h"

#include <algorithm>

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;

class CliWarn : public CliTest {
protected:
    std::string folder() const { return home / "f"; }
};

// Each line a terminal shows: the text between carriage returns and line feeds,
// without the escape that clears the line.
std::vector<std::string> terminalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (text.compare(i, 3, "\033[K") == 0) {
            i += 2;
        } else {
            line += text[i];
        }
    }
    return lines;
}

} // namespace

TEST_F(CliWarn, PreviewMarksNewNamesThatExistOutsideTheBatch) {
    struct Case {
        Names onDisk;
        Names given;       // the paths passed, under f/
        std::string marks; // the mark of each given path's row, in order
        std::string legend;
    };
    const Case cases[] = {
        // a1 is not in the list: a cannot become a1.
        {{"a", "a1"}, {"a"}, "x", "Marks:  x new name exists, will be skipped\n"},
        // a1 is in the list and moves away to a11 first.
        {{"a", "a1"}, {"a", "a1"}, "**", "Marks:  * new name\n"},
        {{"a", "b"}, {"a", "b"}, "**", "Marks:  * new name\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.marks);
        std::filesystem::remove_all(folder());
        for (const auto& name : c.onDisk)
            files({"f/" + name});
        Names paths;
        for (const auto& name : c.given)
            paths.push_back(folder() + "/" + name);
        const Names chain = {"--step", "Add to end", "--set", "string=1"};
        const CliResult table = home.run(with(with({"preview"}, chain), paths));
        ASSERT_EQ(table.status, 0) << table.err;
        std::string marks;
        for (size_t start = table.out.find('\n') + 1; start < table.out.size();
             start = table.out.find('\n', start) + 1)
            if (table.out.compare(start, 6, "Marks:") != 0)
                marks += table.out[start];
        EXPECT_EQ(marks, c.marks) << table.out;
        EXPECT_EQ(table.out.substr(table.out.rfind("Marks:")), c.legend);
        const Json rows = json(home.run(with(with({"preview", "--json"}, chain), paths)));
        for (size_t i = 0; i < c.given.size(); ++i)
            EXPECT_EQ(rows["rows"][i]["exists"].boolean, c.marks[i] == 'x') << i;
    }
    // The run does as the mark said: a is skipped, a1 untouched.
    std::filesystem::remove_all(folder());
    files({"f/a", "f/a1"});
    const CliResult skipped = home.run(
        {"rename", "--json", "--step", "Add to end", "--set", "string=1", folder() + "/a"});
    EXPECT_EQ(skipped.status, 1);
    EXPECT_EQ(json(skipped)["pairs"][0]["outcome"].text, "skipped-existing");
    EXPECT_EQ(folderNames(folder()), (Names{"a", "a1"}));
    // Nothing marked, no legend.
    const CliResult unchanged = home.run({"preview", "--step", "Make lowercase", folder() + "/a"});
    EXPECT_EQ(unchanged.out.find("Marks:"), std::string::npos) << unchanged.out;
}

// A folder where many rows look is read once instead of name by name: the
// marks must be the same, for names taken by an item outside the list (a
// folder, when folders are not renamed) and not for names the list frees.
TEST_F(CliWarn, ManyRowsInOneFolderGetTheSameMarks) {
    Names names;
    for (int i = 0; i < 1100; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "n%04d", i);
        names.push_back("f/" + std::string(name));
    }
    names.push_back("f/n00021"); // listed: n0002 may take its name
    names.push_back("f/n");      // its name becomes empty below
    files(names);
    std::filesystem::create_directories(folder() + "/n00051");
    std::filesystem::create_directories(folder() + "/n10991");
    const CliResult result =
        home.run({"preview", "--json", "--step", "Add to end", "--set", "string=1", "--global",
                  "processFolders=0", "--global", "processSubfolders=1", folder()});
    ASSERT_EQ(result.status, 0) << result.err;
    const Json rows = json(result)["rows"];
    Names taken;
    for (size_t i = 0; i < names.size(); ++i)
        if (rows[i]["exists"].boolean)
            taken.push_back(rows[i]["oldName"].text);
    EXPECT_EQ(taken, (Names{"n0005", "n1099"}));
    // An empty new name gives the folder's own path, which exists, as a name
    // looked up on its own would.
    const Json emptied =
        json(home.run({"preview", "--json", "--step", "Replace text", "--set", "search term=n",
                       "--set", "replacement term=", "--global", "processFolders=0", "--global",
                       "processSubfolders=1", folder()}))["rows"];
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(emptied[i]["exists"].boolean, emptied[i]["oldName"].text == "n") << i;
}

TEST_F(CliWarn, AListThatCannotBeLoadedSaysWhyOnItsLine) {
    const std::pair<std::string, std::string> lists[] = {
        {"a\tA\n", "line 1: not a full path"},
        {"/x/a\tA\n/x/b\tB/C\n", "line 2: a new name holds \"/\""},
        {"/x/a\tA\nb\n", "line 2: no tab"},
        {"A\n\nB/C\n", "line 2: a new name holds \"/\""},
        {"/x/a\t\n", "line 1: no new name"},
    };
    files({"f/a"});
    for (const auto& [content, reason] : lists) {
        SCOPED_TRACE(reason);
        write("list.txt", content);
        const CliResult result = home.run({"rename", "--step", "Rename from list", "--set",
                                           "list file path=list.txt", folder() + "/a"});
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("\"list file path\" list.txt: " + reason), std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find("Nothing loaded."), std::string::npos) << result.err;
    }
    // What layout 0 writes does not load back, and the message says which layout does.
    ASSERT_EQ(home.run({"save-list", "--step", "Make uppercase", "--layout", "0", "--output",
                        "saved.txt", folder() + "/a"})
                  .status,
              0);
    const CliResult back = home.run({"preview", "--step", "Rename from list", "--set",
                                     "list file path=saved.txt", folder() + "/a"});
    EXPECT_EQ(back.status, 2);
    EXPECT_NE(back.err.find("not a full path"), std::string::npos) << back.err;
    EXPECT_NE(back.err.find("--layout 2"), std::string::npos) << back.err;
}

TEST_F(CliWarn, SaveListWritesToStandardOutputForADash) {
    const auto paths = files({"f/a", "f/b"});
    for (const char* layout : {"0", "1", "2"}) {
        SCOPED_TRACE(layout);
        const Names chain = {"--step", "Make uppercase", "--layout", layout};
        const CliResult toFile = home.run(
            with(with({"save-list"}, chain), {"--output", "saved.txt", paths[0], paths[1]}));
        ASSERT_EQ(toFile.status, 0) << toFile.err;
        const CliResult toOutput =
            home.run(with(with({"save-list"}, chain), {"--output", "-", paths[0], paths[1]}));
        ASSERT_EQ(toOutput.status, 0) << toOutput.err;
        std::ifstream saved(home / "saved.txt", std::ios::binary);
        const std::string expected((std::istreambuf_iterator<char>(saved)),
                                   std::istreambuf_iterator<char>());
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(toOutput.out, expected);
        EXPECT_FALSE(std::filesystem::exists(home / "-"));
    }
}

TEST_F(CliWarn, UndoListShowsFolderChainAndWhatWasRenamedAndAnUndoneRunIsAnError) {
    const auto paths = files({"f/a", "g/b", "h/c"});
    const CliResult first =
        home.run({"rename", "--json", "--step", "Make uppercase", "--step", "Add to end", "--set",
                  "string=1", paths[0], paths[1], paths[2]});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string run = json(first)["run"].text;
    // Nothing to rename: a run that renamed nothing is not journalled at all,
    // so the second run renames one item.
    ASSERT_EQ(home.run({"rename", "--step", "Make lowercase", home / "f/A1"}).status, 0);
    const CliResult list = home.run({"undo", "--list"});
    ASSERT_EQ(list.status, 0);
    const std::string firstLine = list.out.substr(0, list.out.find('\n'));
    EXPECT_EQ(firstLine.substr(firstLine.find("  done  ")),
              "  done  3 pairs, 3 renamed  " + home / "f" +
                  " (+2 more folders)  Make uppercase + Add to end");
    EXPECT_NE(list.out.find("  done  1 pairs, 1 renamed  " + home / "f" + "  Make lowercase\n"),
              std::string::npos)
        << list.out;

    ASSERT_EQ(home.run({"undo"}).status, 0);
    EXPECT_EQ(home.run({"undo", run}).status, 0);
    EXPECT_EQ(folderNames(home / "f"), (Names{"a"}));
    const CliResult again = home.run({"undo", run});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "morvane-cli: run " + run + " was already undone\n");
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(folderNames(home / "f"), (Names{"a"}));
}

TEST_F(CliWarn, AThousandPathsGivenOneByOneGetALabelledBarWithin80Columns) {
    Names names;
    for (int i = 0; i < 1000; ++i)
        names.push_back("many/file" + std::to_string(i));
    auto paths = files(names);
    // Through a pipe nothing is drawn.
    const CliResult piped =
        home.run(with({"rename", "--step", "Add to end", "--set", "string=x"}, paths));
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    for (auto& path : paths)
        path += "x";
    const CliResult result =
        home.runWithTerminal(with({"rename", "--step", "Make uppercase"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1000 file names were changed.\n");
    // The batch's phases that report (a short list passes some too quickly to
    // be drawn), then the renaming.
    for (const char* phase : {"Scanning (1/5)    [", "Renaming (5/5)    ["})
        EXPECT_NE(result.err.find(phase), std::string::npos) << phase << "\n" << result.err;
    EXPECT_NE(result.err.find("1000 of 1000 items"), std::string::npos);
    for (const std::string& line : terminalLines(result.err))
        EXPECT_LE(line.size(), 79u) << line;
}
