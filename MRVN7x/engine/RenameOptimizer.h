#pragma once
// Puts the renames of a run in a safe order: deeper items first, so that an
// item always gets its new name before any folder above it and its old path
// is still valid when its turn comes; paths of equal depth in ascending,
// case-sensitive text order.
//
// Nothing else is reordered: a rename whose new name is still taken by an
// item later in the order is met by the rename run as an existing item.
#include <string>
#include <vector>

namespace morvane {

class RenameOptimizer {
public:
    void addOldName(std::string path, std::u16string newName);
    void optimizeRenameOrder();

    const std::vector<std::string>& oldNames() const { return oldNames_; }
    const std::vector<std::u16string>& newNames() const { return newNames_; }
    size_t count() const { return oldNames_.size(); }

private:
    std::vector<std::string> oldNames_;
    std::vector<std::u16string> newNames_;
};

} // namespace morvane
