// One window per user: a second `morvane FILE...` hands its files to the
// running one and ends; with none running it opens its own window.
#include "gui/SingleInstance.h"
#include "MRVN7x/app/FirstLaunchManager.h"
#include "platform/UserDefaults.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace morvane;
using namespace morvane::gui;

namespace {

QProcess* startMorvane(const QStringList& arguments, const QString& folder) {
    auto* process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(folder);
    process->start(MORVANE_GUI, arguments);
    return process;
}
} // namespace

TEST(SingleInstance, ASecondProcessHandsItsPathsToTheFirstAndEnds) {
    test::RuntimeFolder runtime;
    SingleInstance first;
    ASSERT_TRUE(first.listen());
    std::optional<std::vector<std::string>> received;
    QObject::connect(&first, &SingleInstance::pathsReceived,
                     [&](const std::vector<std::string>& paths) { received = paths; });
    test::TempDir files;
    std::unique_ptr<QProcess> second(startMorvane({"a.txt", "file:///tmp/b%20c.jpg", "/abs/d"},
                                                  QString::fromStdString(files.path())));
    ASSERT_TRUE(
        test::waitFor([&] { return received && second->state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(*received,
              (std::vector<std::string>{files.path() + "/a.txt", "/tmp/b c.jpg", "/abs/d"}));
}

TEST(SingleInstance, WithNoneRunningTheProcessOpensItsOwnWindowAndListens) {
    test::RuntimeFolder runtime;
    test::TempDir files;
    // Not the first launch of this version: no Component Setup window first.
    UserDefaults defaults("net.halvard.mrvn7");
    defaults.setObject("firstLaunchVersion", plist::Value(FirstLaunchManager::kFirstLaunchVersion));
    ASSERT_TRUE(defaults.synchronize());
    std::unique_ptr<QProcess> alone(startMorvane({}, QString::fromStdString(files.path())));
    // It keeps running, and takes the files of the next one.
    ASSERT_TRUE(test::waitFor([] { return SingleInstance::handOver({"/x"}, 200); }, 20000));
    EXPECT_EQ(alone->state(), QProcess::Running);
    alone->terminate();
    alone->waitForFinished(5000);
}
