// Hostile names in one real folder: 255 bytes, bytes that are not UTF-8,
// control characters and a newline, a leading dash, format directives, shell
// syntax, the composed and decomposed forms of one letter side by side, a
// trailing space or dot. Each chain renames exactly the names it says, leaves
// the others alone, confuses no two of them, runs nothing through a shell,
// and reports every pair in JSON byte for byte.
#include "tests/cli/CliFixture.h"

#include <map>
#include <set>

using namespace morvane::test;

namespace {

const std::string kLong(255, 'x');
const std::string kComposed = "\xc3\xa9";      // é as one code point
const std::string kDecomposed = "e\xcc\x81";   // e and a combining acute accent
const std::string kComposedUpper = "\xc3\x89"; // É
const std::string kDecomposedUpper = "E\xcc\x81";

const std::vector<std::string> kNames = {
    kLong,      "bad\xff\xfename", "ctl\x01\x1b[31mred", "new\nline", "-rf",
    "%@ %d %s", "$(touch pwned)",  "`touch pwned`",      kComposed,   kDecomposed,
    "trail ",   "trail.",          "tab\tname"};

// The new name of each name; a name absent from the map is left alone.
// failed: names the chain would change but that cannot take their new name.
struct HostileCase {
    std::string label;
    std::vector<std::string> chain;
    std::map<std::string, std::string> renamed;
    std::set<std::string> failed;
    int status;
};

std::map<std::string, std::string> prefixed(const std::string& prefix) {
    std::map<std::string, std::string> result;
    for (const auto& name : kNames)
        result[name] = prefix + name;
    return result;
}

const HostileCase kCases[] = {
    // 257 bytes is beyond any name: that one fails and stays as it was.
    {"a prefix", {"--step", "Add to front", "--set", "string=n-"}, prefixed("n-"), {kLong}, 1},
    {"upper case",
     {"--step", "Make uppercase"},
     {{kLong, std::string(255, 'X')},
      {"bad\xff\xfename", "BAD\xff\xfeNAME"},
      {"ctl\x01\x1b[31mred", "CTL\x01\x1b[31MRED"},
      {"new\nline", "NEW\nLINE"},
      {"-rf", "-RF"},
      {"%@ %d %s", "%@ %D %S"},
      {"$(touch pwned)", "$(TOUCH PWNED)"},
      {"`touch pwned`", "`TOUCH PWNED`"},
      {kComposed, kComposedUpper},
      {kDecomposed, kDecomposedUpper},
      {"trail ", "TRAIL "},
      {"trail.", "TRAIL."},
      {"tab\tname", "TAB\tNAME"}},
     {},
     0},
    {"nothing to change", {"--step", "Make lowercase"}, {}, {}, 0},
};

class CliHostileNames : public CliTest, public ::testing::WithParamInterface<HostileCase> {
protected:
    std::string folder() const { return home / "f"; }
    // Each file holds its own original name.
    std::vector<std::string> makeFiles() const {
        std::vector<std::string> paths;
        for (const auto& name : kNames)
            paths.push_back(write("f/" + name, name));
        return paths;
    }
};

} // namespace

TEST_P(CliHostileNames, PreviewJsonShowsEveryNameByteForByte) {
    const HostileCase& c = GetParam();
    const auto paths = makeFiles();
    std::vector<std::string> args = {"preview", "--json"};
    args.insert(args.end(), c.chain.begin(), c.chain.end());
    args.push_back("--");
    const CliResult result = home.run(with(args, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    const Json preview = json(result);
    std::map<std::string, std::string> shown;
    for (const auto& row : preview["rows"].items) {
        EXPECT_EQ(row["path"].text, folder());
        EXPECT_TRUE(shown.emplace(row["oldName"].text, row["newName"].text).second)
            << "two rows for " << row["oldName"].text;
    }
    ASSERT_EQ(shown.size(), kNames.size());
    for (const auto& name : kNames)
        EXPECT_EQ(shown[name], c.renamed.count(name) ? c.renamed.at(name) : name) << name;
}

TEST_P(CliHostileNames, RenamedOrLeftAloneExactlyAsTheChainSays) {
    const HostileCase& c = GetParam();
    const auto paths = makeFiles();
    std::vector<std::string> args = {"rename", "--json"};
    args.insert(args.end(), c.chain.begin(), c.chain.end());
    args.push_back("--");
    const CliResult result = home.run(with(args, paths));
    EXPECT_EQ(result.status, c.status) << result.err;

    // On disk: every file under its expected name with its own content.
    std::vector<std::string> expectedNames;
    for (const auto& name : kNames) {
        const bool renamed = c.renamed.count(name) && !c.failed.count(name);
        const std::string now = renamed ? c.renamed.at(name) : name;
        expectedNames.push_back(now);
        EXPECT_EQ(readFile(folder() + "/" + now), name) << now;
    }
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(folderNames(folder()), expectedNames);
    for (const char* trap : {"pwned", "PWNED"})
        EXPECT_FALSE(pathExists(home / trap) || pathExists(folder() + "/" + trap));

    // In JSON: each pair once, its paths byte for byte, its outcome.
    const Json report = json(result);
    std::map<std::string, const Json*> pairs;
    for (const auto& pair : report["pairs"].items)
        pairs[pair["oldPath"].text] = &pair;
    for (const auto& name : kNames) {
        const std::string old = folder() + "/" + name;
        if (!c.renamed.count(name)) {
            if (pairs.count(old)) {
                EXPECT_EQ((*pairs[old])["outcome"].text, "unchanged") << name;
            }
            continue;
        }
        ASSERT_TRUE(pairs.count(old)) << "no pair for " << name;
        const Json& pair = *pairs[old];
        EXPECT_EQ(pair["newPath"].text, folder() + "/" + c.renamed.at(name));
        EXPECT_EQ(pair["outcome"].text, c.failed.count(name) ? "failed" : "renamed") << name;
    }
    EXPECT_EQ(report["counts"]["failed"].number, static_cast<double>(c.failed.size()));
}

INSTANTIATE_TEST_SUITE_P(Chains, CliHostileNames, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string label = info.param.label;
                             std::replace(label.begin(), label.end(), ' ', '_');
                             return label;
                         });

// The text table of a preview must show each row on one line, with no
// control character reaching the terminal: a name holding a newline or an
// escape sequence must not forge or recolour rows.
TEST_F(CliTest, PreviewTableShowsEveryNameOnOneLineWithoutControlCharacters) {
    std::vector<std::string> paths;
    for (const auto& name : kNames)
        paths.push_back(write("f/" + name, name));
    const CliResult result =
        home.run(with({"preview", "--step", "Add to front", "--set", "string=n-", "--"}, paths));
    ASSERT_EQ(result.status, 0) << result.err;
    const size_t lines = std::count(result.out.begin(), result.out.end(), '\n');
    EXPECT_EQ(lines, kNames.size() + 2) << result.out; // a header, a line per row, the legend
    for (unsigned char byte : result.out)
        EXPECT_TRUE(byte == '\n' || byte >= 0x20) << "control character " << int(byte);
}
