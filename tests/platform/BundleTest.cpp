// The application bundle as programs find it: a program of the build tree
// outside the bundle (this test) uses the build tree's "Morvane 7.app", and
// $MORVANE_BUNDLE_RESOURCES overrides it.
#include "platform/Bundle.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace morvane;

namespace {
struct WithoutResourceOverride {
    std::optional<std::string> saved;
    WithoutResourceOverride() {
        if (const char* value = std::getenv("MORVANE_BUNDLE_RESOURCES"))
            saved = value;
        unsetenv("MORVANE_BUNDLE_RESOURCES");
    }
    ~WithoutResourceOverride() {
        if (saved)
            setenv("MORVANE_BUNDLE_RESOURCES", saved->c_str(), 1);
    }
};
} // namespace

TEST(Bundle, AProgramOfTheBuildTreeUsesTheBuildTreesApplicationBundle) {
    WithoutResourceOverride unset;
    const std::string bundle = std::string(MORVANE_BINARY_DIR) + "/Morvane 7.app";
    EXPECT_EQ(Bundle::applicationResourceFolder(), bundle + "/Contents/Resources");
    EXPECT_EQ(Bundle::applicationBundlePath(), bundle);
    // (Built only with the window; tests/gui runs it.)
    EXPECT_EQ(Bundle::applicationProgram(), bundle + "/Contents/bin/morvane");
    EXPECT_TRUE(test::pathExists(bundle + "/Contents/Resources/quitHotKey.sh"));
    EXPECT_TRUE(test::pathExists(bundle + "/Contents/Resources/Components"));
    // A numeric version, which upgrades of the components compare.
    EXPECT_GT(Bundle::version(bundle).value_or(0), 0);
}

TEST(Bundle, TheResourceVariableOverridesTheBundle) {
    test::TempDir resources("resources");
    WithoutResourceOverride unset;
    setenv("MORVANE_BUNDLE_RESOURCES", resources.path().c_str(), 1);
    EXPECT_EQ(Bundle::applicationResourceFolder(), resources.path());
    unsetenv("MORVANE_BUNDLE_RESOURCES");
}
