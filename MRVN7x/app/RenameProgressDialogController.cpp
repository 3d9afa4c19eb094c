#include "MRVN7x/app/RenameProgressDialogController.h"

#include <cstdio>
#include <thread>

namespace morvane {
namespace {
std::string withNumber(const char* format, int n) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, n);
    return buffer;
}
} // namespace

void RenameProgressDialogController::run(const std::function<void(RenameProgressReceiver&)>& work) {
    // The window's first state is set before the worker starts, so no report
    // of the worker can be overwritten by it.
    ProgressDisplay first;
    {
        std::lock_guard lock(mutex_);
        display_ = ProgressDisplay();
        display_.status3 = "Step 1 of 3: Performing disk scan..";
        display_.status1 = withNumber("%d files processed.", 0);
        numberOfFiles_ = 0;
        pathReported_ = false;
        countReported_ = CountReport::None;
        changed_ = false;
        first = display_;
    }
    port_.showProgress(first);
    std::thread worker([this, &work] { work(*this); });
    queue_.runUntilStopped(kRefreshInterval, [this] { showIfChanged(); });
    worker.join();
}

void RenameProgressDialogController::update(const std::function<void(ProgressDisplay&)>& change) {
    std::lock_guard lock(mutex_);
    display_ = rendered(); // the reports so far keep the texts of their phase
    pathReported_ = false;
    countReported_ = CountReport::None;
    change(display_);
    changed_ = true;
}

// The state with the texts of the latest per-item reports, made only when it
// is to be shown: the batch reports every item, the window looks 20 times a second.
ProgressDisplay RenameProgressDialogController::rendered() const {
    ProgressDisplay d = display_;
    if (pathReported_ && d.phase == 1)
        d.status2 = "Adding: " + lastPath_ + ".";
    else if (pathReported_ && d.phase == 2)
        d.status2 = "Computing new name for: " + lastPath_ + ".";
    if (countReported_ == CountReport::FilesProcessed) {
        d.status1 = withNumber("%d files processed.", numberOfFiles_);
    } else if (countReported_ == CountReport::FileNumber) {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "Processed %d out of %d files", d.value,
                      numberOfFiles_);
        d.status1 = buffer;
    }
    return d;
}

void RenameProgressDialogController::showIfChanged() {
    ProgressDisplay current;
    {
        std::lock_guard lock(mutex_);
        if (!changed_)
            return;
        changed_ = false;
        current = rendered();
    }
    port_.updateProgress(current);
}

ProgressDisplay RenameProgressDialogController::display() const {
    std::lock_guard lock(mutex_);
    return rendered();
}

ProgressDisplay RenameProgressDialogController::takeDisplayForUpdate() {
    std::lock_guard lock(mutex_);
    changed_ = false;
    return rendered();
}

void RenameProgressDialogController::setLastPathProcessed(const std::string& path) {
    std::lock_guard lock(mutex_);
    lastPath_.assign(path); // reuses the buffer: no allocation per item
    pathReported_ = true;
    changed_ = true;
}

void RenameProgressDialogController::setTotalNumberOfFiles(int count) {
    std::lock_guard lock(mutex_);
    numberOfFiles_ = count;
    countReported_ = CountReport::FilesProcessed;
    changed_ = true;
}

void RenameProgressDialogController::setCurrentFileNumber(int index) {
    std::lock_guard lock(mutex_);
    display_.value = index;
    countReported_ = CountReport::FileNumber;
    changed_ = true;
}

void RenameProgressDialogController::startNewNameComputation() {
    update([&](ProgressDisplay& d) {
        d.phase = 2;
        d.determinate = true;
        d.maximum = numberOfFiles_;
        d.value = 0;
        d.status3 = "Step 2 of 3: Computing new names..";
    });
}

void RenameProgressDialogController::startOptimization(int count) {
    (void)count; // the window shows the number of files it was told about
    update([&](ProgressDisplay& d) {
        d.phase = 3;
        d.determinate = false;
        d.status3 = "Step 3 of 3: Optimizing rename order..";
        d.status1 = withNumber("Processing %d files", numberOfFiles_);
        d.status2 = "Processing..";
    });
}

void RenameProgressDialogController::cleaningUp() {
    update([](ProgressDisplay& d) {
        d.phase = 4;
        d.determinate = false;
        d.status3 = "Cleaning up";
        d.status1 = "";
        d.status2 = "Releasing unused memory.";
    });
    queue_.postAndWait([this] { port_.updateProgress(takeDisplayForUpdate()); });
}

void RenameProgressDialogController::finish() {
    queue_.post([this] { port_.closeProgress(); });
    queue_.stop();
}

} // namespace morvane
