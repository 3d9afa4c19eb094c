#pragma once
// What an expansion of the dynamic file list reports while it collects
// entries: after each entry it adds, the number of entries so far and that
// entry's path.
//
// The list calls these on the thread that runs the expansion (the rename
// run's worker thread, for one). An implementation must return at once and
// hand the news on to the main thread itself, without making the caller wait.
#include <string>

namespace morvane {

class FileListProgressReceiver {
public:
    virtual ~FileListProgressReceiver() = default;
    virtual void setTotalNumberOfFiles(int count) = 0;
    virtual void setLastPathProcessed(const std::string& path) = 0;
};

} // namespace morvane
