#pragma once
// Computes every new name of a rename run and the order of the renames, on
// a worker thread while the progress window keeps the main thread waiting.
// It expands the list in full (no preview cut-off), asks for each entry's new
// name in the current sort order, and lets RenameOptimizer order the pairs.
#include "MRVN7x/engine/RenameOptimizer.h"
#include "MRVN7x/engine/RenameProgressReceiver.h"

#include <functional>
#include <string>

namespace morvane {

class DynamicFileList;

class RenameBatch {
public:
    using NewNameComputer = std::function<std::u16string(const std::string& path)>;

    // The controller's new-name computation (the chain over one path).
    void setNewNameComputer(NewNameComputer computer) { newName_ = std::move(computer); }
    void setDynamicFileList(DynamicFileList* list) { dynamicFileList_ = list; }

    // The whole computation; ends with progress.finish().
    void start(RenameProgressReceiver& progress);
    const RenameOptimizer& getRenameOptimizer() const { return renameOptimizer_; }

private:
    NewNameComputer newName_;
    DynamicFileList* dynamicFileList_ = nullptr;
    RenameOptimizer renameOptimizer_;
};

} // namespace morvane
