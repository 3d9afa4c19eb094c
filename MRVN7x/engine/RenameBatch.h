#pragma once
// Computes every new name of a rename run and the order of the renames, on
// a worker thread while the progress window keeps the main thread waiting.
// It expands the list in full (no preview cut-off), asks for each entry's new
// name in the current sort order, and lets RenameOptimizer order the pairs.
#include "MRVN7x/engine/RenameOptimizer.h"
#include "MRVN7x/engine/RenameProgressReceiver.h"

#include <functional>
#include <string>
#include <vector>

namespace morvane {

class DynamicFileList;

class RenameBatch {
public:
    // The new name of the list's entry at path, its internal index given too.
    using NewNameComputer = std::function<std::u16string(const std::string& path, int index)>;

    // The controller's new-name computation (the chain over one path).
    void setNewNameComputer(NewNameComputer computer) { newName_ = std::move(computer); }
    // Lets a long list be named by two threads at once, for a chain that
    // allows it: prepare runs first, on the batch's thread, with the path of
    // the first item and its internal index. Without it one thread names
    // every item.
    using ConcurrentNamingPreparation =
        std::function<void(const std::string& firstPath, int index)>;
    void allowConcurrentNaming(ConcurrentNamingPreparation prepare) {
        prepareConcurrentNaming_ = std::move(prepare);
    }
    void setDynamicFileList(DynamicFileList* list) { dynamicFileList_ = list; }

    // The whole computation; ends with progress.finish().
    void start(RenameProgressReceiver& progress);
    const RenameOptimizer& getRenameOptimizer() const { return renameOptimizer_; }
    static constexpr int kConcurrentFrom = 4096; // fewer items are named by one thread

private:
    void nameItems(DynamicFileList& list, int count, RenameProgressReceiver& progress);
    void addPair(DynamicFileList& list, int internal, std::u16string_view newName);

    NewNameComputer newName_;
    ConcurrentNamingPreparation prepareConcurrentNaming_;
    DynamicFileList* dynamicFileList_ = nullptr;
    RenameOptimizer renameOptimizer_;
};

} // namespace morvane
