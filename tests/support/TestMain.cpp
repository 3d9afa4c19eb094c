#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Every test of this program sees a private home and private XDG folders.
    static morvane::test::TempDir home("home");
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.path() + "/.local/share").c_str(), 1);
    setenv("XDG_STATE_HOME", (home.path() + "/.local/state").c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
