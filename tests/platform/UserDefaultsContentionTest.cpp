// Several processes write one preferences domain at the same time, each a key
// of its own per write, while another process keeps opening the domain afresh.
// Every key of every writer must survive and no reader may ever find the file
// damaged (a damaged file is set aside, so one would show as
// DOMAIN.plist.damaged). ctest runs a short form; bench/prefs-contention.sh
// runs 1,000 writes per process (MORVANE_CONTENTION_WRITES).
#include "platform/UserDefaults.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

using namespace morvane;

namespace {
const std::string kDomain = "net.example.contention";

int writesPerProcess() {
    const char* text = std::getenv("MORVANE_CONTENTION_WRITES");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 60;
}

std::string keyOf(int process, int write) {
    return "p" + std::to_string(process) + "w" + std::to_string(write);
}

// A child that writes its keys one synchronize at a time; exit status 1 when
// any synchronize failed.
pid_t startWriter(const std::string& folder, int process, int writes) {
    const pid_t child = fork();
    if (child != 0)
        return child;
    UserDefaults defaults(kDomain, folder);
    bool ok = true;
    for (int w = 0; w < writes; ++w) {
        defaults.setObject(keyOf(process, w), plist::Value(w));
        ok = defaults.synchronize() && ok;
    }
    _exit(ok ? 0 : 1);
}

// A child that opens the domain afresh until it is stopped.
pid_t startReader(const std::string& folder) {
    const pid_t child = fork();
    if (child != 0)
        return child;
    for (;;)
        UserDefaults(kDomain, folder).storedValues();
}

bool exitedCleanly(pid_t child) {
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Contention {
    int writers;
};
class UserDefaultsContention : public ::testing::TestWithParam<Contention> {};
} // namespace

TEST_P(UserDefaultsContention, NoKeyLostAndNoFileDamaged) {
    test::TempDir dir;
    const int writes = writesPerProcess();
    const auto start = std::chrono::steady_clock::now();
    const pid_t reader = startReader(dir.path());
    ASSERT_GT(reader, 0);
    std::vector<pid_t> writers;
    for (int p = 0; p < GetParam().writers; ++p)
        writers.push_back(startWriter(dir.path(), p, writes));
    int failedWriters = 0;
    for (pid_t writer : writers)
        failedWriters += writer > 0 && exitedCleanly(writer) ? 0 : 1;
    kill(reader, SIGKILL);
    waitpid(reader, nullptr, 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(failedWriters, 0);
    UserDefaults defaults(kDomain, dir.path());
    int lost = 0;
    for (int p = 0; p < GetParam().writers; ++p)
        for (int w = 0; w < writes; ++w) {
            auto value = defaults.objectForKey(keyOf(p, w));
            lost += value && value->asInteger() && *value->asInteger() == w ? 0 : 1;
        }
    int damaged = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        damaged += entry.path().filename().string().find(".damaged") != std::string::npos;
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(damaged, 0);
    std::printf("%d writers x %d writes with a reader: %.2f s, %d keys lost, %d files damaged\n",
                GetParam().writers, writes, seconds, lost, damaged);
}

INSTANTIATE_TEST_SUITE_P(Writers, UserDefaultsContention,
                         ::testing::Values(Contention{2}, Contention{4}), [](const auto& info) {
                             return std::to_string(info.param.writers) + "Processes";
                         });
