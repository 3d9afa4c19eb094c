// The run lock: taken when free, refused as busy naming the holder, refused
// with the system's reason when the lock file cannot be used.
#include "MRVN7x/engine/RunLock.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using namespace morvane;
using morvane::test::readFile;
using morvane::test::TempDir;

TEST(RunLock, BusyIsTellableFromALockFileThatCannotBeUsed) {
    TempDir dir;
    const std::string file = dir.write("file", "x");
    const std::string held = dir.makeFolder("held");
    const std::string heldLock = RunLock::lockPath(held);
    const int holder = ::open(heldLock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    ASSERT_EQ(::write(holder, "process 4242 (undo, since now)\n", 31), 31);

    struct Case {
        std::string folder;
        int code;
        std::string message;
    } cases[] = {
        {held, RunLock::kBusy,
         "another rename or undo is running: process 4242 (undo, since now); try again when it "
         "has finished"},
        {file, ENOTDIR, "cannot use the run lock " + file + "/run.lock: Not a directory"},
        {file + "/runs", ENOTDIR,
         "cannot use the run lock " + file + "/runs/run.lock: Not a directory"},
    };
    for (const Case& c : cases) {
        const auto lock = RunLock::acquire(c.folder, "rename run", std::chrono::milliseconds(0));
        ASSERT_FALSE(lock) << c.folder;
        EXPECT_EQ(lock.failure().code, c.code) << c.folder;
        EXPECT_EQ(lock.message(), c.message);
    }

    // Free again once the holder lets go; the new holder names itself.
    ::close(holder);
    {
        const auto lock = RunLock::acquire(held, "rename run", std::chrono::milliseconds(0));
        ASSERT_TRUE(lock) << lock.messageIfFailed();
        EXPECT_EQ(readFile(heldLock).rfind(
                      "process " + std::to_string(getpid()) + " (rename run, since ", 0),
                  0u)
            << readFile(heldLock);
        // While it is held, another taker is refused as busy.
        const auto second = RunLock::acquire(held, "undo", std::chrono::milliseconds(0));
        ASSERT_FALSE(second);
        EXPECT_EQ(second.failure().code, RunLock::kBusy);
    }
    const auto after = RunLock::acquire(held, "undo", std::chrono::milliseconds(0));
    EXPECT_TRUE(after) << after.messageIfFailed();
}
