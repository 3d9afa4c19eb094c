// morvane-cli builds its chain from --step/--set, saved chains and the
// application's own chain, and previews and renames through it.
#include "tests/cli/CliFixture.h"

using namespace morvane::test;

namespace {

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A text step, a numbering step and a case step.
const std::vector<std::string> kThreeSteps = {
    "--step", "Replace text",        "--set", "search term=jpg", "--set",  "replacement term=jpeg",
    "--step", "Add number to start", "--set", "sortingMode=10",  "--step", "Make lowercase"};

class CliChain : public CliTest {
protected:
    std::vector<std::string> sample() const {
        return files({"photos/Beach.JPG", "photos/Alps.JPG", "photos/notes.TXT"});
    }
    std::string photos() const { return home / "photos"; }
    // The line of the table that shows oldName, or "" when there is none.
    static std::string tableRow(const std::string& table, const std::string& oldName) {
        size_t start = 0;
        while (start < table.size()) {
            const size_t end = std::min(table.find('\n', start), table.size());
            const std::string line = table.substr(start, end - start);
            if (line.find("  " + oldName + " ") != std::string::npos)
                return line;
            start = end + 1;
        }
        return {};
    }
    // oldName -> newName of every preview row, in order.
    static std::vector<std::pair<std::string, std::string>> previewPairs(const Json& preview) {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (const auto& row : preview["rows"].items)
            pairs.emplace_back(row["oldName"].text, row["newName"].text);
        return pairs;
    }
    using Pairs = std::vector<std::pair<std::string, std::string>>;
};

} // namespace

TEST_F(CliChain, PreviewShowsEveryStepOfTheChainAsATable) {
    const CliResult result = home.run(concat(concat({"preview"}, kThreeSteps), sample()));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    // Aligned columns: current name, new name, folder; "*" marks a changed row.
    EXPECT_EQ(result.out, "   CURRENT NAME  NEW NAME      FOLDER\n"
                          "*  Alps.JPG      01alps.jpeg   " +
                              photos() +
                              "\n"
                              "*  Beach.JPG     02beach.jpeg  " +
                              photos() +
                              "\n"
                              "*  notes.TXT     03notes.txt   " +
                              photos() + "\nMarks:  * new name\n");
    // Nothing was renamed by a preview.
    EXPECT_EQ(folderNames(photos()),
              (std::vector<std::string>{"Alps.JPG", "Beach.JPG", "notes.TXT"}));
}

TEST_F(CliChain, PreviewAsJsonHasEveryRowInTheListsOrder) {
    const CliResult result = home.run(concat(concat({"preview", "--json"}, kThreeSteps), sample()));
    ASSERT_EQ(result.status, 0) << result.err;
    const Json preview = json(result);
    EXPECT_EQ(previewPairs(preview), (Pairs{{"Alps.JPG", "01alps.jpeg"},
                                            {"Beach.JPG", "02beach.jpeg"},
                                            {"notes.TXT", "03notes.txt"}}));
    for (const auto& row : preview["rows"].items) {
        EXPECT_EQ(row["path"].text, photos());
        EXPECT_TRUE(row["root"].boolean);
        EXPECT_TRUE(row["diff"].boolean);
        EXPECT_EQ(row["warning"].kind, Json::Kind::Boolean);
        EXPECT_FALSE(row["warning"].boolean);
        EXPECT_FALSE(row.has("regex1"));
    }
    EXPECT_EQ(preview["conflicts"].kind, Json::Kind::Boolean);
    EXPECT_FALSE(preview["conflicts"].boolean);
    EXPECT_EQ(preview["cutOffApplied"].kind, Json::Kind::Boolean);
    EXPECT_FALSE(preview["cutOffApplied"].boolean);
}

TEST_F(CliChain, RenameRunsTheChainOnDiskAndEndsWithTheSummary) {
    const CliResult result = home.run(concat(concat({"rename"}, kThreeSteps), sample()));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "3 file names were changed.\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(folderNames(photos()),
              (std::vector<std::string>{"01alps.jpeg", "02beach.jpeg", "03notes.txt"}));
}

TEST_F(CliChain, ASavedFlatChainIsLoadedWithItsParametersAndCurrentStep) {
    const auto paths = sample();
    write("chain.plist",
          plistDocument(flatChain(0, {{"Add to end", "<key>string</key><string>_v2</string>"},
                                      {"Make uppercase", ""}})));
    // A relative path is taken from the working folder.
    const CliResult result =
        home.run(concat({"preview", "--json", "--chain", "chain.plist"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result)), (Pairs{{"Alps.JPG", "ALPS.JPG_V2"},
                                                 {"Beach.JPG", "BEACH.JPG_V2"},
                                                 {"notes.TXT", "NOTES.TXT_V2"}}));
}

TEST_F(CliChain, StepsAfterASavedChainAreAppendedAndSetOnlyTheirOwnStep) {
    const auto paths = sample();
    write("chain.plist",
          plistDocument(flatChain(0, {{"Add to end", "<key>string</key><string>_v2</string>"}})));
    const CliResult result = home.run(concat({"preview", "--json", "--chain", home / "chain.plist",
                                              "--step", "Add to front", "--set", "string=x_"},
                                             paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result))[0],
              (std::pair<std::string, std::string>{"Alps.JPG", "x_Alps.JPG_v2"}));
}

TEST_F(CliChain, ADropletsSettingsFileAndItsBundleFolderGiveTheSavedChain) {
    const auto paths = sample();
    const std::string settings = plistDocument(
        "<dict>\n<key>Host Application Settings</key>\n<dict>\n<key>composite action</key>\n" +
        flatChain(0, {{"Remove text", "<key>search term</key><string>a</string>"}}) +
        "</dict>\n</dict>\n");
    const std::string file = write("droplet/Settings.plist", settings);
    write("Rename Photos.app/Contents/Resources/Settings.plist", settings);
    const Pairs expected = {
        {"Alps.JPG", "lps.JPG"}, {"Beach.JPG", "Bech.JPG"}, {"notes.TXT", "notes.TXT"}};
    for (const std::string& chain : {file, home / "Rename Photos.app"}) {
        const CliResult result = home.run(concat({"preview", "--json", "--chain", chain}, paths));
        ASSERT_EQ(result.status, 0) << chain << ": " << result.err;
        EXPECT_EQ(previewPairs(json(result)), expected) << chain;
    }
}

TEST_F(CliChain, TheApplicationsSavedChainIsUsedWithAppChain) {
    const auto paths = sample();
    write(home.configHome() + "/ossvale/net.halvard.mrvn7.plist",
          plistDocument("<dict>\n<key>composite action</key>\n" +
                        flatChain(0, {{"Make uppercase", ""}}) + "</dict>\n"));
    const CliResult result = home.run(concat({"preview", "--json", "--app-chain"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result))[1],
              (std::pair<std::string, std::string>{"Beach.JPG", "BEACH.JPG"}));
}

TEST_F(CliChain, StepsStartFromDefaultsNotFromParametersTheApplicationSaved) {
    const auto paths = sample();
    // What the application would have saved for "Add to end" must not leak in.
    write(home.configHome() + "/ossvale/net.halvard.mrvn7.plist",
          plistDocument("<dict>\n<key>actions</key>\n<dict><key>Add to end</key>\n<dict>"
                        "<key>string</key><string>_saved</string></dict></dict>\n</dict>\n"));
    // "Add to end" starts with the empty text: names stay as they are.
    CliResult result = home.run(concat({"preview", "--json", "--step", "Add to end"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result))[0],
              (std::pair<std::string, std::string>{"Alps.JPG", "Alps.JPG"}));
    // "007" stays text: the name gets the three characters, not a number 7.
    result = home.run(
        concat({"preview", "--json", "--step", "Add to end", "--set", "string=007"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result))[0],
              (std::pair<std::string, std::string>{"Alps.JPG", "Alps.JPG007"}));
}

TEST_F(CliChain, TheCurrentStepGetsTheRegularExpressionColumns) {
    const auto paths = files({"r/Photo_12.jpg", "r/Note_7.txt"});
    const std::vector<std::string> chain = {
        "--step", "Reg Ex Substitution",      "--set",  "search pattern=([a-z]+)_(\\d+)",
        "--set",  "replacement term=\\2-\\1", "--step", "Make lowercase"};
    // Default: the last step is current; it has no columns.
    CliResult result = home.run(concat(concat({"preview", "--json"}, chain), paths));
    ASSERT_EQ(result.status, 0) << result.err;
    Json preview = json(result);
    ASSERT_EQ(preview["rows"].size(), 2u);
    EXPECT_FALSE(preview["rows"][0].has("regex1"));
    EXPECT_EQ(preview["rows"][0]["newName"].text, "7-note");

    result = home.run(concat(concat({"preview", "--json", "--current", "0"}, chain), paths));
    ASSERT_EQ(result.status, 0) << result.err;
    preview = json(result);
    const Json& row = preview["rows"][0];
    EXPECT_EQ(row["oldName"].text, "Note_7.txt");
    EXPECT_EQ(row["regex1"].text, "Note");
    EXPECT_EQ(row["regex2"].text, "7");
    for (const char* empty : {"regex3", "regex4", "regex5", "regex6"}) {
        EXPECT_EQ(row[empty].kind, Json::Kind::String) << empty;
        EXPECT_EQ(row[empty].text, "") << empty;
    }
    EXPECT_FALSE(row.has("regex7"));
}

TEST_F(CliChain, AnInactiveStepIsSkipped) {
    const auto paths = sample();
    const CliResult result =
        home.run(concat({"preview", "--json", "--step", "Make uppercase", "--set", "active=0",
                         "--step", "Add to end", "--set", "string=!"},
                        paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result))[0],
              (std::pair<std::string, std::string>{"Alps.JPG", "Alps.JPG!"}));
}

TEST_F(CliChain, GlobalSettingsChooseWhatTheListHolds) {
    files({"tree/top.txt", "tree/sub/deep.txt"});
    // The folder alone, as a root.
    CliResult result = home.run({"preview", "--json", "--step", "Make uppercase", home / "tree"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(previewPairs(json(result)), (Pairs{{"tree", "TREE"}}));
    // Its files, every level down, and no folders.
    result = home.run({"preview", "--json", "--step", "Make uppercase", "--global",
                       "processFolders=0", "--global", "processSubfolders=1", home / "tree"});
    ASSERT_EQ(result.status, 0) << result.err;
    auto pairs = previewPairs(json(result));
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (Pairs{{"deep.txt", "DEEP.TXT"}, {"top.txt", "TOP.TXT"}}));
}

TEST_F(CliChain, TheCutOffAppliesOnlyWhenAskedFor) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back("many/f" + std::to_string(i));
    files(names);
    CliResult result =
        home.run({"preview", "--json", "--step", "Make uppercase", "--global",
                  "processSubfolders=1", "--global", "processFolders=0", home / "many"});
    ASSERT_EQ(result.status, 0) << result.err;
    Json preview = json(result);
    EXPECT_EQ(preview["rows"].size(), 300u);
    EXPECT_FALSE(preview["cutOffApplied"].boolean);
    result = home.run({"preview", "--json", "--cutoff", "--step", "Make uppercase", "--global",
                       "processSubfolders=1", "--global", "processFolders=0", home / "many"});
    ASSERT_EQ(result.status, 0) << result.err;
    preview = json(result);
    EXPECT_EQ(preview["rows"].size(), 250u);
    EXPECT_TRUE(preview["cutOffApplied"].boolean);
}

TEST_F(CliChain, ARowThatOnlyKeepsItsNameIsNotMarked) {
    const auto paths = sample();
    const CliResult result =
        home.run(concat({"preview", "--step", "Replace text", "--set", "search term=JPG", "--set",
                         "replacement term=jpg", "--set", "ignore case=0"},
                        paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(tableRow(result.out, "notes.TXT").substr(0, 3), "   ");
    EXPECT_EQ(tableRow(result.out, "Alps.JPG").substr(0, 3), "*  ");
}

TEST_F(CliChain, NamesThatAreNotUtf8ComeBackExactlyFromTheJson) {
    // "caf\xe9" is Latin-1, not UTF-8; "café" is the same name in UTF-8.
    const auto paths = files({"n/caf\xe9", "n/caf\xc3\xa9"});
    const CliResult result =
        home.run(concat({"preview", "--json", "--step", "Add to end", "--set", "string=!"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"caf\\udce9!\""), std::string::npos) << result.out;
    auto pairs = previewPairs(json(result));
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (Pairs{{"caf\xc3\xa9", "caf\xc3\xa9!"}, {"caf\xe9", "caf\xe9!"}}));
}

TEST_F(CliChain, TheTableAlignsWideCharactersByTheirColumns) {
    const auto paths = files({"w/abcdefghijkl.jpg", "w/\xe5\x86\x99\xe7\x9c\x9f.jpg"});
    const CliResult result = home.run(concat({"preview", "--step", "Make uppercase"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    // Each of the two Han characters takes two columns.
    EXPECT_EQ(result.out,
              "   CURRENT NAME      NEW NAME          FOLDER\n"
              "*  abcdefghijkl.jpg  ABCDEFGHIJKL.JPG  " +
                  home / "w" +
                  "\n"
                  "*  \xe5\x86\x99\xe7\x9c\x9f.jpg          \xe5\x86\x99\xe7\x9c\x9f.JPG"
                  "          " +
                  home / "w" + "\nMarks:  * new name\n");
}

// A chain that cannot be built is a usage error naming the first thing wrong,
// and nothing is renamed.
TEST_F(CliChain, AChainThatCannotBeBuiltIsAUsageErrorWithItsReason) {
    const std::string noSteps = write("no-steps.plist", plistDocument(flatChain(0, {})));
    const std::string noName =
        write("no-name.plist",
              plistDocument("<dict><key>composite actions array</key><array><dict><key>action "
                            "parameter list</key><dict/></dict></array></dict>\n"));
    const std::string unknown =
        write("unknown.plist", plistDocument(flatChain(0, {{"No such", ""}})));
    const struct {
        std::vector<std::string> args;
        std::string reason;
    } cases[] = {
        {{}, "no steps: give --step, --chain or --app-chain"},
        {{"--step", "Make lowercase", "--current", "1"}, "--current 1 is beyond the last step"},
        {{"--chain", noSteps}, "the saved chain has no steps in \"composite actions array\""},
        {{"--chain", noName}, "a saved step has no action name"},
        {{"--chain", unknown}, "unknown action name \"No such\" in the saved chain"},
        {{"--app-chain"}, "the application has not saved a chain"},
        {{"--step", "Make lowercase", "--global", "processFiles=x"},
         "\"processFiles\" of the global settings takes 0 or 1 (also no/yes, false/true), not "
         "'x'"},
    };
    const auto paths = files({"Apple.txt"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const CliResult result = home.run(concat(concat({"rename"}, c.args), paths));
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "morvane-cli: " + c.reason + "\nTry 'morvane-cli --help'.\n");
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(std::filesystem::exists(paths[0]));
    }
}
