// Why an item was not renamed, as a user at the terminal or a program reading
// the JSON sees it: one line per failure with the actual cause, the errno's
// name where the operating system refused, nothing about another platform and
// no question that nobody can answer.
#include "tests/cli/CliFixture.h"

using namespace morvane::test;

namespace {

using Names = std::vector<std::string>;

struct Case {
    const char* label;
    std::string oldName;           // the one file in the folder
    std::vector<std::string> step; // the chain
    std::string newName;           // what the chain makes of it
    std::string reason;
    std::string error; // the errno's name; empty for a name rule
};

std::vector<std::string> completely(const std::string& name) {
    return {"--step", "Completely rename",  "--set", "newName=" + name,
            "--set",  "fragmentSelection=0"};
}

} // namespace

TEST_F(CliTest, EveryFailureSaysItsCauseOnOneLine) {
    const std::string name255(255, 'x');
    const std::vector<Case> cases = {
        {"one byte too long",
         name255,
         {"--step", "Add to end", "--set", "string=y"},
         name255 + "y",
         "File name too long (the new name has 256 bytes, the limit is 255)",
         "ENAMETOOLONG"},
        {"emptied", "abc", completely(""), "", "the new name is empty", ""},
        {"named ..", "abc", completely(".."), "..", "the new name \"..\" is not allowed", ""},
        {"named .", "new\nline", completely("."), ".", "the new name \".\" is not allowed", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string folder = home / c.label;
        const std::string oldPath = write(folder + "/" + c.oldName, "kept");
        const std::string newPath = folder + "/" + c.newName;
        std::vector<std::string> args = {"rename"};
        args.insert(args.end(), c.step.begin(), c.step.end());
        args.push_back(oldPath);
        const CliResult text = home.run(args);
        EXPECT_EQ(text.status, 1);
        // The line shows a newline of a name as \x0A, so it stays one line.
        auto shown = [](std::string path) {
            for (size_t at; (at = path.find('\n')) != std::string::npos;)
                path.replace(at, 1, "\\x0A");
            return path;
        };
        EXPECT_EQ(text.err,
                  "failed: " + shown(oldPath) + " -> " + shown(newPath) + ": " + c.reason + "\n");
        EXPECT_EQ(text.out, "No file names were changed.\n");

        args.insert(args.begin() + 1, "--json");
        const CliResult result = home.run(args);
        EXPECT_EQ(result.status, 1);
        const Json report = json(result);
        ASSERT_EQ(report["pairs"].items.size(), 1u);
        const Json& pair = report["pairs"].items[0];
        EXPECT_EQ(pair["outcome"].text, "failed");
        EXPECT_EQ(pair["reason"].text, c.reason);
        EXPECT_EQ(pair["error"].text, c.error);
        EXPECT_EQ(pair["newPath"].text, newPath);
        EXPECT_EQ(folderNames(folder), Names{c.oldName});
        EXPECT_EQ(readFile(oldPath), "kept");
        for (const char* stray : {"FileVault", "Finder", "Do you want", "already exists"})
            EXPECT_EQ((text.err + result.out).find(stray), std::string::npos) << stray;
    }
}
