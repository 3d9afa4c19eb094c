#include "MRVN7x/engine/RenameBatch.h"

#include "MRVN7x/filelist/DynamicFileList.h"

namespace morvane {

void RenameBatch::start(RenameProgressReceiver& progress) {
    DynamicFileList& list = *dynamicFileList_;
    list.setProgressController(&progress);
    list.setApplyCutOff(false);
    list.update();
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
