#include "platform/FileOperations.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace morvane {
namespace {

using FileOperations::OpenFolder;

std::string contentOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Moves through the kept folder do what moves by path do: within a folder,
// between folders, onto a taken name (refused, the other item untouched),
// from a missing name, and with paths that do not end in a name.
TEST(OpenFolder, MovesAndLooksUpAsPathsDo) {
    test::TempDir dir("open-folder");
    dir.write("a/one", "1");
    dir.write("a/two", "2");
    dir.write("b/three", "3");
    symlink("one", (dir / "a/link").c_str());
    OpenFolder folder;
    const struct {
        std::string from, to;
        int error; // 0: moved
    } moves[] = {
        {"a/one", "a/uno", 0},       {"a/uno", "a/two", EEXIST}, {"a/missing", "a/x", ENOENT},
        {"a/uno", "b/uno", 0},       {"b/uno", "a/one", 0},      {"a/link", "a/link2", 0},
        {"a/two", "a/two/", EEXIST}, {"a/two", "a/..", EEXIST},
    };
    for (const auto& move : moves) {
        errno = 0;
        const bool moved = folder.moveNoReplace(dir / move.from, dir / move.to);
        EXPECT_EQ(moved ? 0 : errno, move.error) << move.from << " -> " << move.to;
    }
    EXPECT_EQ(contentOf(dir / "a/one"), "1");
    EXPECT_EQ(contentOf(dir / "a/two"), "2");
    for (const char* name : {"a/one", "a/link2", "a", "b/three", "a/nothing", "a/"})
        EXPECT_EQ(folder.identityOf(dir / name), FileOperations::identityOf(dir / name)) << name;
    EXPECT_EQ(folder.identityOf(dir / "a/link2")->type, 'l');
}

// A folder moved away while its items are being moved is followed for a
// bounded number of moves at most; after that its items are looked for at
// the old path and not found. No item is lost either way, and a new folder
// at the old path is used from then on.
TEST(OpenFolder, AFolderMovedAwayIsFollowedOnlyUntilTheNextCheck) {
    test::TempDir dir("moved-folder");
    const int count = static_cast<int>(OpenFolder::kCheckEvery) * 2;
    for (int i = 0; i < count; ++i)
        dir.write("a/f" + std::to_string(i));
    OpenFolder folder;
    ASSERT_TRUE(folder.moveNoReplace(dir / "a/f0", dir / "a/g0"));
    std::filesystem::rename(dir / "a", dir / "b");
    int followed = 0;
    for (int i = 1; i < count; ++i) {
        const std::string name = std::to_string(i);
        if (folder.moveNoReplace(dir / ("a/f" + name), dir / ("a/g" + name))) {
            EXPECT_EQ(followed, i - 1) << "a move succeeded after one was refused";
            ++followed;
        } else {
            EXPECT_EQ(errno, ENOENT) << i;
        }
    }
    EXPECT_LT(followed, static_cast<int>(OpenFolder::kCheckEvery));
    for (int i = 0; i < count; ++i) {
        const std::string name = std::to_string(i);
        EXPECT_TRUE(
            std::filesystem::exists(dir / ("b/" + std::string(i <= followed ? "g" : "f") + name)))
            << i;
    }
    dir.write("a/new");
    EXPECT_TRUE(folder.moveNoReplace(dir / "a/new", dir / "a/newer"));
    EXPECT_TRUE(std::filesystem::exists(dir / "a/newer"));
}

} // namespace
} // namespace morvane
