#include "MRVN7x/engine/RenameBatch.h"

#include "MRVN7x/filelist/DynamicFileList.h"

#include <atomic>
#include <exception>
#include <thread>

namespace morvane {
namespace {
// The expansion's two reports go to the run's receiver as they are.
class ExpansionProgress final : public FileListProgressReceiver {
public:
    explicit ExpansionProgress(RenameProgressReceiver& target) : target_(target) {}
    void setTotalNumberOfFiles(int count) override { target_.setTotalNumberOfFiles(count); }
    void setLastPathProcessed(const std::string& path) override {
        target_.setLastPathProcessed(path);
    }

private:
    RenameProgressReceiver& target_;
};
} // namespace

void RenameBatch::start(RenameProgressReceiver& progress) {
    DynamicFileList& list = *dynamicFileList_;
    ExpansionProgress expansion(progress);
    list.setProgressController(&expansion);
    list.setApplyCutOff(false);
    list.update();
    list.setProgressController(nullptr);
    const int n = list.count();
    progress.setTotalNumberOfFiles(n);
    renameOptimizer_ = RenameOptimizer();
    renameOptimizer_.reserve(static_cast<size_t>(n));
    progress.startNewNameComputation();
    std::vector<std::u16string> names = newNames(list, static_cast<size_t>(n), progress);
    for (int i = 0; i < n; ++i)
        renameOptimizer_.addOldName(list.pathAtIndex(i), std::move(names[static_cast<size_t>(i)]),
                                    list.identityAtIndex(i));
    progress.startOptimization(n);
    renameOptimizer_.optimizeRenameOrder();
    progress.cleaningUp();
    progress.finish();
}

// Every item's new name, in list order. With two threads the second names
// the second half; progress counts the items of both.
std::vector<std::u16string> RenameBatch::newNames(DynamicFileList& list, size_t count,
                                                  RenameProgressReceiver& progress) {
    std::vector<const std::string*> paths(count);
    for (size_t i = 0; i < count; ++i)
        paths[i] = &list.pathAtIndex(static_cast<int>(i));
    std::vector<std::u16string> names(count);
    const size_t half = prepareConcurrentNaming_ && count >= kConcurrentFrom ? count / 2 : count;
    std::atomic<size_t> namedByHelper = 0;
    std::exception_ptr helperFailure;
    std::jthread helper;
    if (half < count) {
        prepareConcurrentNaming_(*paths[0]);
        helper = std::jthread([&] {
            try {
                for (size_t i = half; i < count; ++i) {
                    names[i] = newName_(*paths[i]);
                    namedByHelper.fetch_add(1, std::memory_order_relaxed);
                }
            } catch (...) {
                helperFailure = std::current_exception();
            }
        });
    }
    for (size_t i = 0; i < half; ++i) {
        progress.setLastPathProcessed(*paths[i]);
        progress.setCurrentFileNumber(
            static_cast<int>(i + namedByHelper.load(std::memory_order_relaxed)));
        names[i] = newName_(*paths[i]);
    }
    if (helper.joinable())
        helper.join();
    if (helperFailure)
        std::rethrow_exception(helperFailure);
    return names;
}

} // namespace morvane
