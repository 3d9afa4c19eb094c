#include "MRVN7x/engine/RenameBatch.h"

#include "MRVN7x/filelist/DynamicFileList.h"
#include "platform/HelperThread.h"
#include "platform/TextList.h"

#include <algorithm>
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

// Every item with its new name, in list order. With two threads the helper
// names items from the end of the list while this thread names them from its
// start and adds each pair to the plan, until the two meet: this thread's
// share of the naming shrinks by what adding pairs costs it, whatever the
// chain costs. Progress counts the items of both.
void RenameBatch::nameItems(DynamicFileList& list, int count, RenameProgressReceiver& progress) {
    const bool shared = prepareConcurrentNaming_ && count >= kConcurrentFrom;
    U16TextList fromTheEnd; // names in large blocks: a million of them are not a million texts
    std::atomic<int> claimed = 0; // items taken by either thread, a batch at a time
    std::atomic<int> namedByHelper = 0;
    constexpr int kClaim = 64;
    // The number of items claimed for the calling thread, at most kClaim; 0
    // when none is left. A thread alone claims every item, a batch at a time.
    const auto claim = [&] {
        const int before = claimed.fetch_add(kClaim, std::memory_order_relaxed);
        return std::clamp(count - before, 0, kClaim);
    };
    const auto pathAt = [&list](int internal) {
        return std::string(list.pathAtInternalIndex(internal));
    };
    int namedHere = 0; // items 0 to namedHere - 1
    const auto nameFromTheStart = [&] {
        for (int batch = claim(); batch > 0; batch = claim()) {
            for (const int end = namedHere + batch; namedHere < end; ++namedHere) {
                const int internal = list.translateExternalIndexToInternal(namedHere);
                const std::string path = pathAt(internal);
                progress.setLastPathProcessed(path);
                progress.setCurrentFileNumber(namedHere +
                                              namedByHelper.load(std::memory_order_relaxed));
                addPair(list, internal, newName_(path, internal));
            }
        }
    };
    if (!shared)
        return nameFromTheStart();
    const int first = list.translateExternalIndexToInternal(0);
    prepareConcurrentNaming_(pathAt(first), first);
    withHelperThread(nameFromTheStart, [&] {
        for (int batch = claim(); batch > 0; batch = claim()) {
            for (int k = 0; k < batch; ++k) {
                const int internal = list.translateExternalIndexToInternal(
                    count - 1 - static_cast<int>(fromTheEnd.size()));
                fromTheEnd.push_back(newName_(pathAt(internal), internal));
                namedByHelper.fetch_add(1, std::memory_order_relaxed);
            }
        }
    });
    for (int i = namedHere; i < count; ++i)
        addPair(list, list.translateExternalIndexToInternal(i),
                fromTheEnd[static_cast<size_t>(count - 1 - i)]);
}

// The plan shares the list's text of the path instead of copying it.
void RenameBatch::addPair(DynamicFileList& list, int internal, std::u16string_view newName) {
    renameOptimizer_.addOldName(list.paths(), static_cast<size_t>(internal), newName,
                                list.identityAtInternalIndex(internal));
}

} // namespace morvane
