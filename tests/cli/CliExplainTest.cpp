// morvane-cli explaining itself: keys and values checked with "did you mean",
// one action explained in full, and the same as JSON.
#include "MRVN7x/actions/ParameterTable.h"
#include "tests/cli/CliFixture.h"

using namespace morvane;
using namespace morvane::test;

namespace {

class CliExplain : public CliTest {};

struct Mistake {
    std::vector<std::string> args; // the chain and settings; the path is added
    std::vector<std::string> said; // what standard error must hold
};

} // namespace

TEST_F(CliExplain, EveryKindOfMistakeIsAUsageErrorWithItsSuggestion) {
    const Mistake mistakes[] = {
        {{"--step", "Replace text", "--set", "search=a"},
         {"\"search\" is not a key of \"Replace text\"", "\"replacement term\"",
          "did you mean \"search term\"?"}},
        {{"--step", "Add to end", "--set", "String=x"}, {"did you mean \"string\"?"}},
        {{"--step", "Add to end", "--global", "processSubfoldrs=1"},
         {"not a key of the global settings", "did you mean \"processSubfolders\"?"}},
        {{"--step", "Rename to date", "--set", "mode=99"},
         {"\"mode\" of \"Rename to date\" takes one of 0 (Creation date), 1 (Modification "
          "date), 2 (Date taken (EXIF)), 3 (Now), not '99'"}},
        {{"--step", "Add number to start", "--set", "padding=256"},
         {"takes an integer from 0 to 255, not '256'"}},
        {{"--step", "Replace text", "--set", "ignore case=maybe"},
         {"takes 0 or 1 (also no/yes, false/true), not 'maybe'"}},
        {{"--step", "Add to end", "--global", "renameMode=7"}, {"3 (Rename in place"}},
        {{"--step", "Add to end", "--set", "fragmentSelection=4"}, {"3 (Extension with the dot)"}},
        {{"--step", "Add to frnt"},
         {"no action \"Add to frnt\"", "did you mean \"Add to front\"?"}},
        {{"--step", "Add Text to Front"}, {"did you mean \"Add to front\"?"}},
        {{"--step", "add number to start"}, {"did you mean \"Add number to start\"?"}},
    };
    const auto paths = files({"Apple.txt"});
    for (const auto& mistake : mistakes) {
        SCOPED_TRACE(mistake.args[1] + " " + mistake.args.back());
        auto args = with({"rename"}, mistake.args);
        const CliResult result = home.run(with(args, paths));
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.out.empty()) << result.out;
        for (const auto& text : mistake.said)
            EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
        EXPECT_EQ(folderNames(home.work()), std::vector<std::string>{"Apple.txt"});
    }
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"actions", "Add Number To Start"}, {"actions", "--keys", "Add numbr to start"}}) {
        const CliResult result = home.run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("did you mean \"Add number to start\"?"), std::string::npos)
            << result.err;
    }
}

TEST_F(CliExplain, YesNoKeysAndChoiceTitlesAreUnderstood) {
    const std::pair<std::string, std::string> cases[] = {
        {"ignore case=yes", "pear.txt"},    {"ignore case=TRUE", "pear.txt"},
        {"ignore case=1", "pear.txt"},      {"ignore case=no", "Apple.txt"},
        {"ignore case=false", "Apple.txt"}, {"ignore case=0", "Apple.txt"},
    };
    const auto paths = files({"Apple.txt"});
    for (const auto& [setting, expected] : cases) {
        SCOPED_TRACE(setting);
        const CliResult result =
            home.run(with({"preview", "--json", "--step", "Replace text", "--set",
                           "search term=apple", "--set", "replacement term=pear", "--set", setting},
                          paths));
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(json(result)["rows"][0]["newName"].text, expected);
    }
    // A choice by its title, whatever its case: the extension alone.
    const CliResult byTitle =
        home.run(with({"preview", "--json", "--step", "Make uppercase", "--set",
                       "fragmentSelection=extension WITHOUT the dot"},
                      paths));
    ASSERT_EQ(byTitle.status, 0) << byTitle.err;
    EXPECT_EQ(json(byTitle)["rows"][0]["newName"].text, "Apple.TXT");
}

TEST_F(CliExplain, AnActionIsExplainedWithItsChoicesByName) {
    const CliResult result = home.run({"actions", "Add number to start"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string& out = result.out;
    // Wrapped lines joined again: a line break and its indent read as one space.
    auto joined = [](const std::string& text) {
        std::string flat;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\n') {
                flat += text[i];
                continue;
            }
            flat += ' ';
            while (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
        }
        return flat;
    };
    const std::string flat = joined(out);
    const ParameterInfo* sort = ParameterTable::find("Add number to start", "sortingMode");
    ASSERT_TRUE(sort);
    ASSERT_EQ(sort->choices.size(), 12u);
    for (const auto& choice : sort->choices)
        EXPECT_NE(flat.find(" " + std::to_string(choice.value) + "  " + choice.title),
                  std::string::npos)
            << choice.title;
    EXPECT_NE(flat.find("sortingMode (Count in order of): choice, default 11 (Name, numbers by "
                        "value (Z to A))"),
              std::string::npos)
        << out;
    EXPECT_NE(flat.find("The default, 11, is descending"), std::string::npos);
    EXPECT_NE(out.find("padding (Minimum digits): integer from 0 to 255, default"),
              std::string::npos);
    EXPECT_NE(out.find("fragmentSelection (Apply to): choice, default 0 (Whole name)"),
              std::string::npos);
    for (const auto& line : std::vector<std::string>{out.substr(0, out.find('\n'))})
        EXPECT_EQ(line, "Add number to start  (Add Number to Start)");
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << out.substr(start, end - start);

    const std::pair<std::string, std::string> notes[] = {
        {"Reg Ex Substitution", "Builds the whole new name"},
        {"MP3 rename", "<0TrackNum>"},
        {"Rename to date", "2  Date taken (EXIF): the capture date"},
        {"Rename to date", "1  2007-03-04 (ISO 8601)"},
        {"Add to end", "2  Extension without the dot: everything after the last \".\""},
    };
    for (const auto& [action, text] : notes) {
        const CliResult explained = home.run({"actions", action});
        EXPECT_NE(joined(explained.out).find(text), std::string::npos) << action << "\n"
                                                                       << explained.out;
    }
}

TEST_F(CliExplain, JsonCarriesTheSameChoicesAsTheTable) {
    const CliResult all = home.run({"actions", "--json"});
    ASSERT_EQ(all.status, 0) << all.err;
    const Json actions = json(all);
    ASSERT_EQ(actions.size(), 49u);
    size_t checked = 0;
    for (const auto& action : actions.items) {
        const auto* view = ParameterTable::forAction(action["name"].text);
        ASSERT_TRUE(view) << action["name"].text;
        EXPECT_TRUE(action["parameters"].kind == Json::Kind::Object);
        for (const auto& key : action["keys"].items) {
            const ParameterInfo* info = ParameterTable::find(action["name"].text, key["key"].text);
            if (!info)
                continue;
            EXPECT_EQ(key["kind"].text, ParameterTable::kindName(info->kind));
            ASSERT_EQ(key["choices"].size(), info->choices.size()) << key["key"].text;
            for (size_t i = 0; i < info->choices.size(); ++i) {
                EXPECT_EQ(key["choices"][i]["value"].number, info->choices[i].value);
                EXPECT_EQ(key["choices"][i]["title"].text, info->choices[i].title);
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 150u);
    const CliResult one = home.run({"actions", "Add number to start", "--json"});
    ASSERT_EQ(one.status, 0) << one.err;
    const Json action = json(one);
    EXPECT_EQ(action["name"].text, "Add number to start");
    bool sawSort = false;
    for (const auto& key : action["keys"].items)
        if (key["key"].text == "sortingMode") {
            sawSort = true;
            EXPECT_EQ(key["default"].number, 11);
            EXPECT_EQ(key["choices"][11]["title"].text, "Name, numbers by value (Z to A)");
        }
    EXPECT_TRUE(sawSort);
}
