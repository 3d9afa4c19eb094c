#include "MRVN7x/engine/RenameBatch.h"

#include "MRVN7x/filelist/DynamicFileList.h"

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
    for (int i = 0; i < n; ++i) {
        std::string path = list.pathAtIndex(i);
        progress.setLastPathProcessed(path);
        progress.setCurrentFileNumber(i);
        std::u16string newName = newName_(path);
        renameOptimizer_.addOldName(std::move(path), std::move(newName), list.identityAtIndex(i));
    }
    progress.startOptimization(n);
    renameOptimizer_.optimizeRenameOrder();
    progress.cleaningUp();
    progress.finish();
}

} // namespace morvane
