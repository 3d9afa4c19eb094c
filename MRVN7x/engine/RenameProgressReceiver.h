#pragma once
// What a rename batch reports while it computes the names and order of a run.
// The batch calls these on its worker thread; the receiver hands them on to
// the main thread.
#include <string>

namespace morvane {

class RenameProgressReceiver {
public:
    virtual ~RenameProgressReceiver() = default;
    virtual void setLastPathProcessed(const std::string& path) = 0;
    virtual void setTotalNumberOfFiles(int count) = 0;
    virtual void setCurrentFileNumber(int index) = 0;
    virtual void startNewNameComputation() = 0;
    virtual void startOptimization(int count) = 0;
    // The batch waits until the main thread has handled this one.
    virtual void cleaningUp() = 0;
    virtual void finish() = 0;
};

} // namespace morvane
