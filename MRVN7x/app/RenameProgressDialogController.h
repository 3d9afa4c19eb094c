#pragma once
// The progress window of a rename run. run() starts the batch on a worker
// thread and keeps the main thread in the window's modal loop until the batch
// calls finish(). The worker's reports update one shared display state; the
// main thread looks at it kRefreshInterval after its last look and shows it
// when it changed, so 100,000 reports cost 100,000 cheap updates of a record,
// not 100,000 redraws or wake-ups of the main thread (those took a third of
// the batch's time), and what is shown is never older than the interval. The
// per-item reports keep only their values; their texts are made when shown.
// Reports that must be seen at once (cleaning up) are shown directly.
#include "MRVN7x/app/MainThreadQueue.h"
#include "MRVN7x/app/UserInterfacePort.h"
#include "MRVN7x/engine/RenameProgressReceiver.h"

#include <chrono>
#include <functional>
#include <mutex>

namespace morvane {

class RenameProgressDialogController : public RenameProgressReceiver {
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{50};

    explicit RenameProgressDialogController(UserInterfacePort& port)
        : port_(port), queue_(port.eventLoopHost()) {}

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
    // The state to show, clearing the mark that it changed.
    ProgressDisplay takeDisplayForUpdate();
    // On the main thread: shows the state if it changed since it was last shown.
    void showIfChanged();
    // Applies a change to the shared state; the main thread shows it at its next look.
    void update(const std::function<void(ProgressDisplay&)>& change);
    // The shared state with the texts of the latest per-item reports (under the lock).
    ProgressDisplay rendered() const;

    UserInterfacePort& port_;
    MainThreadQueue queue_;
    mutable std::mutex mutex_;
    ProgressDisplay display_;
    int numberOfFiles_ = 0;
    bool changed_ = false;
    // The latest per-item reports, not yet written as texts.
    enum class CountReport { None, FilesProcessed, FileNumber };
    std::string lastPath_;
    bool pathReported_ = false;
    CountReport countReported_ = CountReport::None;
};

} // namespace morvane
