#include "MRVN7x/engine/RenameOptimizer.h"

#include <algorithm>
#include <numeric>

namespace morvane {
namespace {
size_t componentCount(const std::string& path) {
    size_t count = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] != '/' && (i == 0 || path[i - 1] == '/'))
            ++count;
    return count;
}
} // namespace

void RenameOptimizer::addOldName(std::string path, std::u16string newName) {
    oldNames_.push_back(std::move(path));
    newNames_.push_back(std::move(newName));
}

void RenameOptimizer::optimizeRenameOrder() {
    const size_t n = oldNames_.size();
    std::vector<size_t> depth(n);
    for (size_t i = 0; i < n; ++i)
        depth[i] = componentCount(oldNames_[i]);
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (depth[a] != depth[b])
            return depth[a] > depth[b];
        return oldNames_[a] < oldNames_[b];
    });
    std::vector<std::string> paths;
    std::vector<std::u16string> names;
    paths.reserve(n);
    names.reserve(n);
    for (size_t index : order) {
        paths.push_back(std::move(oldNames_[index]));
        names.push_back(std::move(newNames_[index]));
    }
    oldNames_ = std::move(paths);
    newNames_ = std::move(names);
}

} // namespace morvane
