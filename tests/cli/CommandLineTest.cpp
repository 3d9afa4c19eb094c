#include "cli/CommandLine.h"

#include <gtest/gtest.h>

using namespace morvane::cli;

TEST(CommandLine, UsageErrorsHaveAOneLineReason) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"preview"},
        {"preview", "--step"},
        {"preview", "--set", "a=b", "/x"},
        {"preview", "--step", "Add to end", "--set", "novalue", "/x"},
        {"preview", "--step", "Add to end", "--set", "=v", "/x"},
        {"preview", "--current", "-1", "/x"},
        {"preview", "--current", "one", "/x"},
        {"preview", "--bogus", "/x"},
        {"save-list", "--layout", "1", "/x"},
        {"save-list", "--layout", "3", "--output", "o", "/x"},
        {"actions", "Add to end", "Add to front"},
        {"actions", "Add to end", "--names"},
        {"actions", "--step", "Add to end"},
        {"actions", "--keys"},
        {"actions", "--names", "--json"},
        {"actions", "--keys", "Add to end", "--global-keys"},
        {"preview", "--names", "/x"},
        {"undo", "--global-keys"},
        {"undo", "a", "b"},
    };
    for (const auto& args : bad) {
        auto result = parseCommandLine(args);
        EXPECT_FALSE(result.error.empty()) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, ChainItemsKeepTheirOrder) {
    auto result = parseCommandLine({"rename", "--chain", "saved.plist", "--step", "Replace text",
                                    "--set", "search term=a=b", "--global", "renameMode=1",
                                    "--current", "1", "--json", "--", "--odd name", "/x"});
    ASSERT_EQ(result.error, "");
    const Invocation& inv = result.invocation;
    EXPECT_EQ(inv.command, Command::Rename);
    ASSERT_EQ(inv.chain.size(), 3u);
    EXPECT_EQ(inv.chain[0].kind, ChainItem::Kind::ChainFile);
    EXPECT_EQ(inv.chain[0].name, "saved.plist");
    EXPECT_EQ(inv.chain[1].name, "Replace text");
    EXPECT_EQ(inv.chain[2].setting, (Setting{"search term", "a=b"}));
    ASSERT_EQ(inv.globals.size(), 1u);
    EXPECT_EQ(inv.globals[0], (Setting{"renameMode", "1"}));
    EXPECT_EQ(inv.current, 1);
    EXPECT_TRUE(inv.json);
    EXPECT_EQ(inv.arguments, (std::vector<std::string>{"--odd name", "/x"}));
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(parseCommandLine({"--help"}).invocation.command, Command::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).invocation.command, Command::Version);
    EXPECT_EQ(parseCommandLine({"rename", "--help"}).invocation.command, Command::Help);
    auto undo = parseCommandLine({"undo", "--list"});
    EXPECT_EQ(undo.error, "");
    EXPECT_TRUE(undo.invocation.list);
}
