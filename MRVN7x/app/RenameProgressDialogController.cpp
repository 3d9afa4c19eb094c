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
        updateQueued_ = false;
        first = display_;
    }
    port_.showProgress(first);
    std::thread worker([this, &work] { work(*this); });
    queue_.runUntilStopped();
    worker.join();
}

void RenameProgressDialogController::update(const std::function<void(ProgressDisplay&)>& change) {
    {
        std::lock_guard lock(mutex_);
        change(display_);
        if (updateQueued_)
            return;
        updateQueued_ = true;
    }
    queue_.post([this] { port_.updateProgress(takeDisplayForUpdate()); });
}

ProgressDisplay RenameProgressDialogController::display() const {
    std::lock_guard lock(mutex_);
    return display_;
}

ProgressDisplay RenameProgressDialogController::takeDisplayForUpdate() {
    std::lock_guard lock(mutex_);
    updateQueued_ = false;
    return display_;
}

void RenameProgressDialogController::setLastPathProcessed(const std::string& path) {
    update([&](ProgressDisplay& d) {
        if (d.phase == 1)
            d.status2 = "Adding: " + path + ".";
        else if (d.phase == 2)
            d.status2 = "Computing new name for: " + path + ".";
    });
}

void RenameProgressDialogController::setTotalNumberOfFiles(int count) {
    update([&](ProgressDisplay& d) {
        numberOfFiles_ = count;
        d.status1 = withNumber("%d files processed.", count);
    });
}

void RenameProgressDialogController::setCurrentFileNumber(int index) {
    update([&](ProgressDisplay& d) {
        d.value = index;
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "Processed %d out of %d files", index, numberOfFiles_);
        d.status1 = buffer;
    });
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
    {
        std::lock_guard lock(mutex_);
        display_.phase = 4;
        display_.determinate = false;
        display_.status3 = "Cleaning up";
        display_.status1 = "";
        display_.status2 = "Releasing unused memory.";
    }
    queue_.postAndWait([this] { port_.updateProgress(takeDisplayForUpdate()); });
}

void RenameProgressDialogController::finish() {
    queue_.post([this] { port_.closeProgress(); });
    queue_.stop();
}

} // namespace morvane
