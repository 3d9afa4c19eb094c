#pragma once
// The progress window of a rename run. run() starts the batch on a worker
// thread and keeps the main thread in the window's modal loop until the batch
// calls finish(). The worker's reports update one shared display state; the
// main thread shows the latest state, so 100,000 reports cost 100,000 cheap
// updates of a record, not 100,000 redraws.
#include "MRVN7x/app/MainThreadQueue.h"
#include "MRVN7x/app/UserInterfacePort.h"
#include "MRVN7x/engine/RenameProgressReceiver.h"

#include <functional>
#include <mutex>

namespace morvane {

class RenameProgressDialogController : public RenameProgressReceiver {
public:
    explicit RenameProgressDialogController(UserInterfacePort& port) : port_(port) {}

    // Runs work(*this) on a new thread; returns after it has called finish().
    void run(const std::function<void(RenameProgressReceiver&)>& work);

    void setLastPathProcessed(const std::string& path) override;
    void setTotalNumberOfFiles(int count) override;
    void setCurrentFileNumber(int index) override;
    void startNewNameComputation() override;
    void startOptimization(int count) override;
    void cleaningUp() override;
    void finish() override;

    ProgressDisplay display() const;

private:
    // The state to show, clearing the mark that an update is queued.
    ProgressDisplay takeDisplayForUpdate();
    // Applies a change to the shared state and makes sure the main thread shows it.
    void update(const std::function<void(ProgressDisplay&)>& change);

    UserInterfacePort& port_;
    MainThreadQueue queue_;
    mutable std::mutex mutex_;
    ProgressDisplay display_;
    int numberOfFiles_ = 0;
    bool updateQueued_ = false;
};

} // namespace morvane
