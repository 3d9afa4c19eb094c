#include "MRVN7x/engine/RenameBatch.h"

#include "MRVN7x/filelist/DynamicFileList.h"
#include "platform/HelperThread.h"
#include "platform/TextList.h"

#include <atomic>
#include <utility>

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
    nameItems(list, n, progress);
    list.releaseIdentitiesAndOrders();
    progress.startOptimization(n);
    renameOptimizer_.optimizeRenameOrder();
    progress.cleaningUp();
    progress.finish();
}

// Every item with its new name, in list order. With two threads the second
// names the second half meanwhile; progress counts the items of both.
void RenameBatch::nameItems(DynamicFileList& list, int count, RenameProgressReceiver& progress) {
    const int half = prepareConcurrentNaming_ && count >= kConcurrentFrom ? count / 2 : count;
    U16TextList secondHalf; // names in large blocks: a million of them are not a million texts
    std::atomic<int> namedByHelper = 0;
    const auto pathAt = [&list](int internal) {
        return std::string(list.pathAtInternalIndex(internal));
    };
    const auto nameFirstHalf = [&] {
        for (int i = 0; i < half; ++i) {
            const int internal = list.translateExternalIndexToInternal(i);
            const std::string path = pathAt(internal);
            progress.setLastPathProcessed(path);
            progress.setCurrentFileNumber(i + namedByHelper.load(std::memory_order_relaxed));
            addPair(list, internal, newName_(path, internal));
        }
    };
    if (half == count)
        return nameFirstHalf();
    const int first = list.translateExternalIndexToInternal(0);
    prepareConcurrentNaming_(pathAt(first), first);
    withHelperThread(nameFirstHalf, [&] {
        for (int i = half; i < count; ++i) {
            const int internal = list.translateExternalIndexToInternal(i);
            secondHalf.push_back(newName_(pathAt(internal), internal));
            namedByHelper.fetch_add(1, std::memory_order_relaxed);
        }
    });
    for (int i = half; i < count; ++i)
        addPair(list, list.translateExternalIndexToInternal(i),
                secondHalf[static_cast<size_t>(i - half)]);
}

// The plan shares the list's text of the path instead of copying it.
void RenameBatch::addPair(DynamicFileList& list, int internal, std::u16string_view newName) {
    renameOptimizer_.addOldName(list.paths(), static_cast<size_t>(internal), newName,
                                list.identityAtInternalIndex(internal));
}

} // namespace morvane
