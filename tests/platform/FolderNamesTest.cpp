#include "platform/FolderNames.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/vfs.h>

namespace morvane {
namespace {

// Every name in the folder is found, names that are not there are not (a
// name differing in case included: these file systems tell them apart), and
// a folder that cannot be read gives nothing to rely on.
TEST(FolderNames, AFolderReadOnceAnswersForEveryName) {
    test::TempDir dir("names");
    const std::vector<std::string> present = {
        "a", "A.JPG", "b c", "\xff\xfe not UTF-8", "x:y", std::string(255, 'n')};
    for (const std::string& name : present)
        dir.write("f/" + name);
    dir.makeFolder("f/sub");
    const auto names = FolderNames::read(dir / "f");
    if (!names) {
        struct statfs system = {};
        statfs(dir.path().c_str(), &system);
        GTEST_SKIP() << "names are not read on this file system (type " << std::hex << system.f_type
                     << "); each is looked up on disk";
    }
    for (const std::string& name : present)
        EXPECT_TRUE(names->mayHave(name)) << name;
    for (const char* name : {"sub", ".", ".."})
        EXPECT_TRUE(names->mayHave(name)) << name;
    for (const char* name : {"", "a.jpg", "b", "b c ", "x/y", "A.JPG1", "f"})
        EXPECT_FALSE(names->mayHave(name)) << name;
    EXPECT_FALSE(FolderNames::read(dir / "missing"));
    EXPECT_FALSE(FolderNames::read(dir / "f/a")); // a file, not a folder
}

} // namespace
} // namespace morvane
