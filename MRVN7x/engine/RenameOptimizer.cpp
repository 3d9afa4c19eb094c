#include "MRVN7x/engine/RenameOptimizer.h"

#include "MRVN7x/filelist/PathIndex.h"
#include "platform/PathText.h"

#include <algorithm>
#include <numeric>

namespace morvane {
namespace {
constexpr std::uint32_t kNone = UINT32_MAX;

size_t componentCount(std::string_view path) {
    size_t count = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] != '/' && (i == 0 || path[i - 1] == '/'))
            ++count;
    return count;
}

// Reorders a vector by a permutation (order[i] = old index of the new i).
template <typename T> void permute(std::vector<T>& values, const std::vector<size_t>& order) {
    std::vector<T> result;
    result.reserve(values.size());
    for (size_t index : order)
        result.push_back(std::move(values[index]));
    values = std::move(result);
}
template <typename Char>
void permute(BasicTextList<Char>& values, const std::vector<size_t>& order) {
    values.permute(order);
}

// Each pair's new path, and (in writable) whether its name can be written.
TextList pathsOf(const TextList& oldPaths, const U16TextList& newNames,
                 std::vector<bool>& writable) {
    TextList paths;
    paths.reserve(oldPaths.size());
    writable.assign(oldPaths.size(), false);
    for (size_t i = 0; i < oldPaths.size(); ++i) {
        writable[i] = PathText::isEncodable(newNames[i]);
        paths.push_back(
            PathText::pathOfDisplayName(PathText::folderView(oldPaths[i]), newNames[i]));
    }
    return paths;
}

// For every pair, the pair whose old path is its new path (it must move
// first), or kNone.
std::vector<std::uint32_t> successors(const TextList& oldPaths, const TextList& newPaths,
                                      const std::vector<bool>& writable) {
    PathIndex index;
    index.rebuild(oldPaths);
    std::vector<std::uint32_t> next(oldPaths.size(), kNone);
    for (size_t i = 0; i < oldPaths.size(); ++i) {
        const int found = writable[i] ? index.find(newPaths[i]) : PathIndex::kNotFound;
        if (found >= 0 && static_cast<size_t>(found) != i)
            next[i] = static_cast<std::uint32_t>(found);
    }
    return next;
}

// The pairs waiting for each pair's old path, as one array with offsets.
struct Waiters {
    std::vector<std::uint32_t> offsets, items;
    Waiters(const std::vector<std::uint32_t>& next) : offsets(next.size() + 1, 0) {
        for (std::uint32_t target : next)
            if (target != kNone)
                ++offsets[target + 1];
        std::partial_sum(offsets.begin(), offsets.end(), offsets.begin());
        items.resize(offsets.back());
        std::vector<std::uint32_t> fill(offsets.begin(), offsets.end() - 1);
        for (size_t i = 0; i < next.size(); ++i) // ascending, so each list is in pair order
            if (next[i] != kNone)
                items[fill[next[i]]++] = static_cast<std::uint32_t>(i);
    }
};

// The cycle reached from pair start, which lies on a cycle or leads into one:
// its member with the lowest index.
std::uint32_t cycleMember(std::uint32_t start, const std::vector<std::uint32_t>& next) {
    std::uint32_t slow = start, fast = start;
    do {
        slow = next[slow];
        fast = next[next[fast]];
    } while (slow != fast);
    std::uint32_t lowest = slow;
    for (std::uint32_t at = next[slow]; at != slow; at = next[at])
        lowest = std::min(lowest, at);
    return lowest;
}
// Emits the pairs that can move once start has moved (its waiters, theirs,
// and so on), each right after the pair it waits for. A cycle's broken pair
// gets its second step as soon as its target is free.
struct LevelOrder {
    const std::vector<std::uint32_t>& next;
    const Waiters& waiters;
    std::vector<bool>& placed;
    std::vector<RenameOptimizer::Step>& steps;
    std::vector<bool>& onCycle;
    std::uint32_t broken = kNone; // the pair parked at the temporary name

    void emit(std::uint32_t pair, RenameOptimizer::StepKind kind) { steps.push_back({pair, kind}); }
    void releaseWaitersOf(std::uint32_t start) {
        std::vector<std::uint32_t> stack{start};
        while (!stack.empty()) {
            const std::uint32_t moved = stack.back();
            stack.pop_back();
            if (broken != kNone && next[broken] == moved)
                emit(broken, RenameOptimizer::StepKind::FromTemporary);
            // Where two pairs want the same name (a conflict the user let
            // through), the cycle's own member goes first, so the cycle closes.
            for (const bool cycleMembers : {true, false}) {
                for (std::uint32_t k = waiters.offsets[moved]; k < waiters.offsets[moved + 1];
                     ++k) {
                    const std::uint32_t waiting = waiters.items[k];
                    if (placed[waiting] || onCycle[waiting] != cycleMembers)
                        continue;
                    placed[waiting] = true;
                    emit(waiting, RenameOptimizer::StepKind::Whole);
                    stack.push_back(waiting);
                }
            }
        }
    }
    // The pairs begin to end (one level): free ends first, each followed by
    // the chain that waits for it; then what lies on a cycle or leads into one.
    void run(std::uint32_t begin, std::uint32_t end) {
        for (std::uint32_t i = begin; i < end; ++i) {
            if (next[i] != kNone || placed[i])
                continue;
            placed[i] = true;
            emit(i, RenameOptimizer::StepKind::Whole);
            releaseWaitersOf(i);
        }
        for (std::uint32_t i = begin; i < end; ++i) {
            if (placed[i])
                continue;
            broken = cycleMember(i, next);
            for (std::uint32_t at = next[broken]; at != broken; at = next[at])
                onCycle[at] = true;
            placed[broken] = true;
            emit(broken, RenameOptimizer::StepKind::ToTemporary);
            releaseWaitersOf(broken);
        }
    }
};

} // namespace

void RenameOptimizer::reserve(size_t count) {
    oldNames_.reserve(count);
    newNames_.reserve(count);
    identities_.reserve(count);
}

void RenameOptimizer::addOldName(std::string_view path, std::u16string_view newName,
                                 ItemIdentity identity) {
    oldNames_.push_back(path);
    newNames_.push_back(newName);
    identities_.push_back(identity);
}

std::string RenameOptimizer::temporaryPathFor(std::string_view oldPath) {
    return PathText::join(PathText::folderView(oldPath), kCycleTemporaryName);
}

void RenameOptimizer::optimizeRenameOrder() {
    const size_t n = oldNames_.size();
    identities_.resize(n);
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
    permute(oldNames_, order);
    permute(newNames_, order);
    permute(identities_, order);
    permute(depth, order);

    // A pair only ever waits for one in its own folder, so each level is ordered alone.
    std::vector<bool> writable;
    newPaths_ = pathsOf(oldNames_, newNames_, writable);
    std::vector<std::uint32_t> next = successors(oldNames_, newPaths_, writable);
    for (size_t i = 0; i < n; ++i)
        if (next[i] != kNone && depth[next[i]] != depth[i])
            next[i] = kNone;
    const Waiters waiters(next);
    std::vector<bool> placed(n, false), onCycle(n, false);
    std::vector<Step> steps;
    steps.reserve(n);
    LevelOrder levelOrder{next, waiters, placed, steps, onCycle};
    for (size_t begin = 0; begin < n;) {
        size_t end = begin;
        while (end < n && depth[end] == depth[begin])
            ++end;
        levelOrder.run(static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
        begin = end;
    }
    // Pairs are kept in the order of their first step.
    std::vector<size_t> pairOrder;
    std::vector<std::uint32_t> newIndex(n, kNone);
    pairOrder.reserve(n);
    for (const Step& step : steps) {
        if (newIndex[step.pair] == kNone) {
            newIndex[step.pair] = static_cast<std::uint32_t>(pairOrder.size());
            pairOrder.push_back(step.pair);
        }
    }
    for (Step& step : steps)
        step.pair = newIndex[step.pair];
    permute(oldNames_, pairOrder);
    permute(newNames_, pairOrder);
    permute(identities_, pairOrder);
    permute(newPaths_, pairOrder);
    steps_ = std::move(steps);
}

} // namespace morvane
