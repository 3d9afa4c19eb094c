#include "cli/ChainBuilder.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::cli;

TEST(ChainBuilder, ValuesTakeTheTypeOfTheKeysDefault) {
    const plist::Value integer(5);
    const plist::Value text("abc");
    struct Case {
        const plist::Value* byDefault;
        const char* input;
        std::optional<plist::Value> expected;
    };
    const std::vector<Case> cases = {
        {&integer, "007", plist::Value(7)},
        {&integer, "-3", plist::Value(-3)},
        {&integer, "2147483647", plist::Value(2147483647)},
        {&integer, "2147483648", std::nullopt},
        {&integer, "x", std::nullopt},
        {&integer, "", std::nullopt},
        {&integer, "1.5", std::nullopt},
        {&text, "007", plist::Value("007")},
        {&text, "", plist::Value("")},
        {nullptr, "-12", plist::Value(-12)},
        {nullptr, "007", plist::Value(7)},
        {nullptr, "12a", plist::Value("12a")},
        {nullptr, "-", plist::Value("-")},
        {nullptr, "", plist::Value("")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedValue(c.byDefault, c.input), c.expected) << c.input;
}
