#include "platform/UserDefaults.h"
#include "platform/SystemLog.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;
using morvane::test::TempDir;

namespace {
const std::string domain = "net.example.test";

// Captures log lines for the life of the object.
struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() {
        SystemLog::setSink([this](SystemLog::Level, const std::string& m) { lines.push_back(m); });
    }
    ~LogCapture() { SystemLog::setSink({}); }
};

int64_t intValue(const UserDefaults& d, const std::string& key) {
    auto v = d.objectForKey(key);
    return v && v->asInteger() ? *v->asInteger() : -1;
}
} // namespace

TEST(UserDefaults, RoundTripAcrossInstances) {
    TempDir dir;
    {
        UserDefaults first(domain, dir.path());
        first.setObject("text", plist::Value("héllo"));
        first.setObject("number", plist::Value(-42));
        first.setObject("list", plist::Value(plist::Array{plist::Value(1), plist::Value("x")}));
        ASSERT_TRUE(first.synchronize());
    }
    UserDefaults second(domain, dir.path());
    EXPECT_EQ(*second.objectForKey("text")->asString(), "héllo");
    EXPECT_EQ(intValue(second, "number"), -42);
    EXPECT_EQ(second.objectForKey("list")->asArray()->size(), 2u);
}

TEST(UserDefaults, DefaultFolderFollowsXdgConfigHome) {
    TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    {
        UserDefaults defaults(domain);
        defaults.setObject("k", plist::Value(1));
        defaults.synchronize();
    }
    EXPECT_TRUE(test::pathExists(dir.path() + "/ossvale/" + domain + ".plist"));
    setenv("XDG_CONFIG_HOME", (std::string(getenv("HOME")) + "/.config").c_str(), 1);
}

TEST(UserDefaults, RegisteredDefaultsAnswerButAreNeverWritten) {
    TempDir dir;
    UserDefaults defaults(domain, dir.path());
    defaults.registerDefaults({{"fallback", plist::Value(7)}});
    EXPECT_EQ(intValue(defaults, "fallback"), 7);
    EXPECT_FALSE(defaults.hasStoredValue("fallback"));
    defaults.setObject("stored", plist::Value(1));
    defaults.synchronize();
    UserDefaults reread(domain, dir.path());
    EXPECT_FALSE(reread.objectForKey("fallback"));
    defaults.setObject("fallback", plist::Value(8));
    EXPECT_EQ(intValue(defaults, "fallback"), 8);
}

TEST(UserDefaults, SynchronizePicksUpWhatAnotherInstanceWrote) {
    TempDir dir;
    UserDefaults mine(domain, dir.path());
    UserDefaults theirs(domain, dir.path());
    mine.setObject("mine", plist::Value(1));
    theirs.setObject("theirs", plist::Value(2));
    theirs.removeObject("never-there");
    ASSERT_TRUE(mine.synchronize());
    ASSERT_TRUE(theirs.synchronize());
    ASSERT_TRUE(mine.synchronize());
    EXPECT_EQ(intValue(mine, "mine"), 1);
    EXPECT_EQ(intValue(mine, "theirs"), 2);
    theirs.removeObject("mine");
    theirs.synchronize();
    mine.synchronize();
    EXPECT_FALSE(mine.objectForKey("mine"));
}

TEST(UserDefaults, RoundTripAcrossProcesses) {
    TempDir dir;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        UserDefaults defaults(domain, dir.path());
        defaults.setObject("from child", plist::Value("yes"));
        _exit(defaults.synchronize() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    UserDefaults defaults(domain, dir.path());
    EXPECT_EQ(*defaults.objectForKey("from child")->asString(), "yes");
}

// Several processes write their own keys of one domain at the same time, many
// times over; every key of every process must survive.
TEST(UserDefaults, ConcurrentProcessesLoseNoKeys) {
    TempDir dir;
    constexpr int processes = 4, rounds = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < processes; ++p) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            UserDefaults defaults(domain, dir.path());
            bool ok = true;
            for (int r = 0; r < rounds; ++r) {
                defaults.setObject("p" + std::to_string(p) + "k" + std::to_string(r),
                                   plist::Value(r));
                ok = defaults.synchronize() && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    UserDefaults defaults(domain, dir.path());
    for (int p = 0; p < processes; ++p)
        for (int r = 0; r < rounds; ++r)
            EXPECT_EQ(intValue(defaults, "p" + std::to_string(p) + "k" + std::to_string(r)), r);
}

TEST(UserDefaults, DamagedFileIsSetAsideAndTheDomainStartsEmpty) {
    const std::vector<std::string> damaged = {"", "not a plist at all",
                                              "<?xml version=\"1.0\"?><plist><dict><key>a</key>",
                                              "<plist><array><integer>1</integer></array></plist>"};
    for (const auto& content : damaged) {
        SCOPED_TRACE(content);
        TempDir dir;
        const std::string file = dir.path() + "/" + domain + ".plist";
        dir.write(domain + ".plist", content);
        LogCapture log;
        UserDefaults defaults(domain, dir.path());
        EXPECT_TRUE(defaults.storedValues().empty());
        EXPECT_EQ(test::readFile(file + ".damaged"), content);
        ASSERT_FALSE(log.lines.empty());
        EXPECT_NE(log.lines[0].find("damaged"), std::string::npos);
        defaults.setObject("after", plist::Value(1));
        EXPECT_TRUE(defaults.synchronize());
        UserDefaults reread(domain, dir.path());
        EXPECT_EQ(intValue(reread, "after"), 1);
    }
}

TEST(UserDefaults, SecondDamagedFileDoesNotReplaceTheFirst) {
    TempDir dir;
    dir.write(domain + ".plist", "first");
    { UserDefaults defaults(domain, dir.path()); }
    dir.write(domain + ".plist", "second");
    { UserDefaults defaults(domain, dir.path()); }
    EXPECT_EQ(test::readFile(dir / (domain + ".plist.damaged")), "first");
    EXPECT_EQ(test::readFile(dir / (domain + ".plist.damaged-2")), "second");
}

TEST(UserDefaults, UnreadableFileIsNeverWrittenOver) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    const std::string file = dir.write(
        domain + ".plist", "<plist><dict><key>k</key><integer>1</integer></dict></plist>");
    chmod(file.c_str(), 0);
    LogCapture log;
    UserDefaults defaults(domain, dir.path());
    defaults.setObject("other", plist::Value(2));
    EXPECT_FALSE(defaults.synchronize());
    chmod(file.c_str(), 0600);
    UserDefaults reread(domain, dir.path());
    EXPECT_EQ(intValue(reread, "k"), 1);
}
