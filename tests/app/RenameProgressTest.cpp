#include "MRVN7x/app/RenameProgressDialogController.h"
#include "tests/support/FakePort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace morvane;

// The worker's reports reach the window on the main thread only, in order,
// and the cleaning-up report is shown before the worker goes on.
TEST(RenameProgress, ReportsArriveOnTheMainThreadWithTheirTexts) {
    test::FakePort port;
    RenameProgressDialogController dialog(port);
    bool cleaningUpShownBeforeFinish = false;
    dialog.run([&](RenameProgressReceiver& progress) {
        progress.setLastPathProcessed("/photos/a.jpg");
        progress.setTotalNumberOfFiles(3);
        progress.startNewNameComputation();
        for (int i = 0; i < 3; ++i) {
            progress.setLastPathProcessed("/photos/" + std::to_string(i));
            progress.setCurrentFileNumber(i);
        }
        progress.startOptimization(3);
        progress.setCurrentFileNumber(3); // a late report does not outlive its phase
        progress.cleaningUp();
        cleaningUpShownBeforeFinish = port.progress.back().phase == 4;
        progress.finish();
    });
    EXPECT_FALSE(port.calledFromAnotherThread);
    EXPECT_TRUE(port.progressShown);
    EXPECT_TRUE(port.progressClosed);
    EXPECT_TRUE(cleaningUpShownBeforeFinish);
    ASSERT_FALSE(port.progress.empty());
    EXPECT_EQ(port.progress.front().status3, "Step 1 of 3: Performing disk scan..");
    EXPECT_EQ(port.progress.front().status1, "0 files processed.");
    const ProgressDisplay last = port.progress.back();
    EXPECT_EQ(last.status3, "Cleaning up");
    EXPECT_EQ(last.status1, "");
    EXPECT_EQ(last.status2, "Releasing unused memory.");
}

TEST(RenameProgress, EachPhaseWritesItsLines) {
    test::FakePort port;
    RenameProgressDialogController dialog(port);
    std::vector<ProgressDisplay> seen;
    dialog.run([&](RenameProgressReceiver& progress) {
        auto& d = static_cast<RenameProgressDialogController&>(progress);
        progress.setLastPathProcessed("/a");
        seen.push_back(d.display());
        progress.setTotalNumberOfFiles(5);
        seen.push_back(d.display());
        progress.startNewNameComputation();
        progress.setLastPathProcessed("/b");
        progress.setCurrentFileNumber(2);
        seen.push_back(d.display());
        progress.startOptimization(5);
        progress.setLastPathProcessed("/ignored in this phase");
        seen.push_back(d.display());
        progress.finish();
    });
    EXPECT_EQ(seen[0].status2, "Adding: /a.");
    EXPECT_EQ(seen[1].status1, "5 files processed.");
    EXPECT_EQ(seen[2].phase, 2);
    EXPECT_TRUE(seen[2].determinate);
    EXPECT_EQ(seen[2].maximum, 5);
    EXPECT_EQ(seen[2].value, 2);
    EXPECT_EQ(seen[2].status1, "Processed 2 out of 5 files");
    EXPECT_EQ(seen[2].status2, "Computing new name for: /b.");
    EXPECT_EQ(seen[2].status3, "Step 2 of 3: Computing new names..");
    EXPECT_EQ(seen[3].phase, 3);
    EXPECT_FALSE(seen[3].determinate);
    EXPECT_EQ(seen[3].status1, "Processing 5 files");
    EXPECT_EQ(seen[3].status2, "Processing..");
    EXPECT_EQ(seen[3].status3, "Step 3 of 3: Optimizing rename order..");
}

// Reports change a record; the main thread shows it at most once per refresh
// interval, and a report followed by a pause is shown within the pause.
TEST(RenameProgress, ManyReportsAreShownAtTheRefreshRateAndTheLatestIsNeverLost) {
    test::FakePort port;
    RenameProgressDialogController dialog(port);
    const auto started = std::chrono::steady_clock::now();
    dialog.run([&](RenameProgressReceiver& progress) {
        progress.setTotalNumberOfFiles(100000);
        progress.startNewNameComputation();
        for (int i = 0; i < 100000; ++i) {
            progress.setLastPathProcessed("/photos/" + std::to_string(i));
            progress.setCurrentFileNumber(i);
        }
        std::this_thread::sleep_for(4 * RenameProgressDialogController::kRefreshInterval);
        progress.finish();
    });
    const auto elapsed = std::chrono::steady_clock::now() - started;
    const auto intervals = elapsed / RenameProgressDialogController::kRefreshInterval;
    // The first state, then at most one update per interval (and one more for rounding).
    EXPECT_LE(port.progress.size(), static_cast<size_t>(intervals) + 2);
    ASSERT_FALSE(port.progress.empty());
    EXPECT_EQ(port.progress.back().status1, "Processed 99999 out of 100000 files");
    EXPECT_EQ(port.progress.back().status2, "Computing new name for: /photos/99999.");
}
