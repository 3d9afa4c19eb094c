// What a window left open for a long time relies on: the run lends the main
// thread to the window's event loop, nothing re-enters the controller while
// a run goes on, and settings reach the disk after a quiet moment.
#include "platform/FileOperations.h"
#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

using namespace morvane;
using namespace morvane::test;

namespace {
// An event loop that only counts how often it was woken.
class CountingHost : public EventLoopHost {
public:
    void waitForEvents(std::chrono::milliseconds timeout) override {
        std::unique_lock lock(mutex_);
        woken_.wait_for(lock, timeout, [this] { return wakeUp_; });
        wakeUp_ = false;
    }
    void wake() override {
        ++wakes;
        std::lock_guard lock(mutex_);
        wakeUp_ = true;
        woken_.notify_all();
    }
    void processPendingEvents() override {}

    std::atomic<int> wakes{0};

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wakeUp_ = false;
};

// What the window's event loop may deliver while the controller is busy, at
// the first report: a file opened by a second instance, a refresh falling
// due, a second run. Counts the refreshes that ran then.
std::function<void(size_t, size_t)> reentryProbe(ControllerFixture& f, const std::string& opened,
                                                 int& refreshes) {
    return [&f, opened, &refreshes](size_t done, size_t) {
        if (done != 0)
            return;
        f.controller.applicationOpenFile(opened);
        f.controller.initiateDelayedPreviewUpdate();
        const int before = f.controller.previewRefreshCount();
        f.timer.advance(1);
        refreshes = f.controller.previewRefreshCount() - before;
        EXPECT_TRUE(f.controller.isRunInProgress());
        EXPECT_FALSE(f.controller.applyCurrentSettings()); // refused, with a beep
    };
}

std::vector<std::string> numberedFiles(ControllerFixture& f, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(f.add("f" + std::to_string(i), "x"));
    return paths;
}
} // namespace

TEST(LongRunningWindow, RunWaitsInTheHostsEventLoopAndReportsTheRenames) {
    ControllerFixture f;
    CountingHost host;
    f.port.host = &host;
    f.setChain({{"Add to end", {{"string", plist::Value("_x")}}}});
    f.addToList(numberedFiles(f, 300));
    f.rename();
    EXPECT_EQ(f.port.alertTitles().back(), "300 file names were changed.");
    // The worker's messages went through the host (the queue never waits on
    // its own while a host is there); whether the main thread also had to
    // wait depends on how fast the worker was.
    EXPECT_GT(host.wakes, 0);
    ASSERT_GE(f.port.renamingReports.size(), 2u);
    EXPECT_EQ(f.port.renamingReports.front(), std::make_pair(size_t{0}, size_t{300}));
    EXPECT_EQ(f.port.renamingReports.back(), std::make_pair(size_t{300}, size_t{300}));
    EXPECT_FALSE(f.port.calledFromAnotherThread);
}

// Whatever the window's event loop delivers during a run waits for its end:
// a due refresh, a file opened by a second instance, a second run.
TEST(LongRunningWindow, NothingReentersTheControllerDuringARun) {
    ControllerFixture f;
    f.setChain({{"Add to end", {{"string", plist::Value("_x")}}}});
    f.addToList(numberedFiles(f, 3));
    const std::string late = f.add("late", "l");
    int refreshesDuringRun = -1;
    f.port.onRenamingProgress = reentryProbe(f, late, refreshesDuringRun);
    f.rename();
    EXPECT_EQ(refreshesDuringRun, 0);
    EXPECT_EQ(f.port.beeps, 1);
    EXPECT_EQ(f.port.alertTitles().back(), "3 file names were changed.");
    EXPECT_FALSE(FileOperations::exists(f.files / "late_x")); // not part of that run
    // After the run the file opened meanwhile is in the new list, and the
    // refresh that fell due runs.
    ASSERT_EQ(f.controller.rawFileList().count(), 1);
    EXPECT_EQ(f.controller.rawFileList().pathAtIndex(0), late);
    const int before = f.controller.previewRefreshCount();
    f.timer.advance(1);
    EXPECT_EQ(f.controller.previewRefreshCount(), before + 1);
}

// A long preview lends the window its events too, with the same protection.
TEST(LongRunningWindow, ALongPreviewReportsAndKeepsItsListAndChain) {
    ControllerFixture f;
    f.setChain({{"Add to end", {{"string", plist::Value("_x")}}}});
    const std::string folder = f.files.makeFolder("many");
    for (int i = 0; i <= MainController::kLongPreview; ++i)
        f.add("many/f" + std::to_string(i));
    const std::string late = f.add("late");
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.controller.addFilePaths({folder}, false);
    f.controller.dynamicFileList().setApplyCutOff(false);
    f.controller.updateAll();
    f.timer.advance(1);
    f.port.previewReports.clear();
    int refreshesDuringPreview = -1;
    f.port.onPreviewProgress = reentryProbe(f, late, refreshesDuringPreview);
    f.controller.showPreview();
    const size_t rows = MainController::kLongPreview + 2; // the folder and its files
    ASSERT_EQ(f.controller.previewEntries().size(), rows);
    EXPECT_EQ(f.port.previewReports.front(), std::make_pair(size_t{0}, rows));
    EXPECT_EQ(f.port.previewReports.back(), std::make_pair(rows, rows));
    EXPECT_EQ(refreshesDuringPreview, 0);
    EXPECT_EQ(f.port.beeps, 1);
    // Afterwards the opened file joins the list and the refresh that fell due runs.
    EXPECT_EQ(f.controller.rawFileList().count(), 2);
    f.port.onPreviewProgress = nullptr;
    f.timer.advance(1);
    EXPECT_EQ(f.controller.previewEntries().size(), rows + 1);
}

TEST(LongRunningWindow, SettingsAreWrittenAfterAQuietMomentNotPerChange) {
    FakeTimer writes;
    ControllerFixture f;
    f.controller.setSettingsWriteTimer(&writes);
    f.setChain({{"Add to end", {{"string", plist::Value("_saved")}}}});
    const auto savedOnDisk = [&] {
        UserDefaults reread("net.halvard.mrvn7", f.settings.path());
        auto actions = reread.objectForKey("actions");
        return actions && actions->asDictionary() && actions->asDictionary()->count("Add to end");
    };
    f.controller.addAction(); // stores the step's parameters, in memory
    EXPECT_FALSE(savedOnDisk());
    writes.advance(1.5);
    f.controller.compositeAction().getCurrentAction()->setValueForKey("string",
                                                                      plist::Value("_more"));
    writes.advance(1.5); // a change came in between: still quiet for 1.5 s only
    EXPECT_FALSE(savedOnDisk());
    writes.advance(MainController::kSettingsWriteDelay);
    EXPECT_TRUE(savedOnDisk());
}
