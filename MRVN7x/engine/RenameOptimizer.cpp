#include "MRVN7x/engine/RenameOptimizer.h"

#include "MRVN7x/filelist/PathIndex.h"
#include "platform/HelperThread.h"
#include "platform/PathText.h"

#include <algorithm>
#include <numeric>

namespace morvane {
namespace {
constexpr std::uint32_t kNone = UINT32_MAX;
// From this many pairs on, long work is shared with a helper thread.
constexpr size_t kSharedFrom = 65536;

size_t componentCount(std::string_view path) {
    size_t count = 0;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] != '/' && (i == 0 || path[i - 1] == '/'))
            ++count;
    return count;
}

// For every pair, the pair whose old path is its new path (it must move
// first), or kNone.
std::vector<std::uint32_t> successors(const RenameOptimizer& plan,
                                      const std::vector<bool>& writable) {
    std::vector<std::uint32_t> next(plan.count(), kNone);
    indexOfTexts(plan.oldNames())
        .findEach(
            plan.count(), [&plan](size_t i, std::string& path) { plan.newPath(i, path); },
            [&](size_t i, int found) {
                if (writable[i] && found >= 0 && static_cast<size_t>(found) != i)
                    next[i] = static_cast<std::uint32_t>(found);
            });
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

// The steps over the pairs sorted by level, each pair named by its position there.
std::vector<RenameOptimizer::Step> stepsInLevelOrder(const RenameOptimizer& plan,
                                                     const std::vector<bool>& writable,
                                                     const std::vector<std::uint32_t>& byLevel,
                                                     const std::vector<std::uint32_t>& depth) {
    const size_t n = byLevel.size();
    const auto levelAt = [&](size_t position) { return depth[byLevel[position]]; };
    // A pair only ever waits for one in its own folder, so each level is ordered alone.
    std::vector<std::uint32_t> next = successors(plan, writable);
    {
        std::vector<std::uint32_t> position(n);
        for (size_t p = 0; p < n; ++p)
            position[byLevel[p]] = static_cast<std::uint32_t>(p);
        std::vector<std::uint32_t> nextByPair =
            std::exchange(next, std::vector<std::uint32_t>(n, kNone));
        for (size_t p = 0; p < n; ++p) {
            const std::uint32_t target = nextByPair[byLevel[p]];
            if (target != kNone && depth[target] == levelAt(p))
                next[p] = position[target];
        }
    }
    const Waiters waiters(next);
    std::vector<bool> placed(n, false), onCycle(n, false);
    std::vector<RenameOptimizer::Step> steps;
    steps.reserve(n);
    LevelOrder levelOrder{next, waiters, placed, steps, onCycle};
    for (size_t begin = 0; begin < n;) {
        size_t end = begin;
        while (end < n && levelAt(end) == levelAt(begin))
            ++end;
        levelOrder.run(static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
        begin = end;
    }
    return steps;
}

} // namespace

void RenameOptimizer::reserve(size_t count) {
    oldNames_.reserve(count);
    newFileNames_.reserve(count);
    identities_.reserve(count);
    writable_.reserve(count);
}

void RenameOptimizer::addOldName(std::string_view path, std::u16string_view newName,
                                 ItemIdentity identity) {
    oldNames_.push_back(path);
    identities_.push_back(identity);
    addNewName(newName);
}

void RenameOptimizer::addOldName(const TextList& paths, size_t index, std::u16string_view newName,
                                 ItemIdentity identity) {
    oldNames_.pushShared(paths, index);
    identities_.push_back(identity);
    addNewName(newName);
}

// The new name on disk of the pair just added. A plain name (ASCII without
// ":") always comes back from it unchanged; any other is checked.
void RenameOptimizer::addNewName(std::u16string_view newName) {
    const size_t pair = oldNames_.size() - 1;
    newFileNames_.push_back(PathText::storedNameOfDisplayName(newName));
    writable_.push_back(PathText::isEncodable(newName));
    const bool plain = !newName.empty() && PathText::isPlainName(newName);
    if (!plain && PathText::displayNameOfPath(newFileNames_[pair]) != newName)
        keptNames_.emplace_back(static_cast<std::uint32_t>(pair), newName);
}

std::string RenameOptimizer::newPath(size_t pair) const {
    std::string path;
    newPath(pair, path);
    return path;
}

void RenameOptimizer::newPath(size_t pair, std::string& path) const {
    PathText::join(PathText::folderView(oldNames_[pair]), newFileNames_[pair], path);
}

std::u16string RenameOptimizer::newName(size_t pair) const {
    std::u16string name;
    newName(pair, name);
    return name;
}

void RenameOptimizer::newName(size_t pair, std::u16string& name) const {
    const auto kept = std::lower_bound(keptNames_.begin(), keptNames_.end(), pair,
                                       [](const std::pair<std::uint32_t, std::u16string>& entry,
                                          size_t at) { return entry.first < at; });
    if (kept != keptNames_.end() && kept->first == pair)
        name.assign(kept->second);
    else
        PathText::displayNameOfPath(newFileNames_[pair], name);
}

void RenameOptimizer::prefetchStep(size_t step) const {
    const size_t pair = steps_[step].pair;
    for (const std::string_view text : {oldNames_[pair], newFileNames_[pair]}) {
        if (text.empty())
            continue;
        __builtin_prefetch(text.data());
        __builtin_prefetch(text.data() + text.size() - 1); // a text may span two lines
    }
}

std::string RenameOptimizer::temporaryPathFor(std::string_view oldPath) {
    return PathText::join(PathText::folderView(oldPath), kCycleTemporaryName);
}

// The pairs in levels (deeper first, then ascending paths), as positions:
// byLevel[position] is the pair at that position.
void RenameOptimizer::optimizeRenameOrder() {
    const size_t n = oldNames_.size();
    identities_.resize(n);
    std::vector<std::uint32_t> depth(n);
    for (size_t i = 0; i < n; ++i)
        depth[i] = static_cast<std::uint32_t>(componentCount(oldNames_[i]));
    std::vector<std::uint32_t> byLevel(n);
    std::iota(byLevel.begin(), byLevel.end(), 0);
    // Pairs of one path (there should be none) keep their list order, so the
    // order is one and the same however it is reached.
    const auto deeperOrFirst = [&](std::uint32_t a, std::uint32_t b) {
        if (depth[a] != depth[b])
            return depth[a] > depth[b];
        const int paths = oldNames_[a].compare(oldNames_[b]);
        return paths != 0 ? paths < 0 : a < b;
    };
    // A list of one folder in name order often is in this order already.
    if (!std::is_sorted(byLevel.begin(), byLevel.end(), deeperOrFirst))
        sortOnTwoThreads(byLevel.begin(), byLevel.end(), deeperOrFirst, kSharedFrom);

    std::vector<Step> steps;
    const auto makeSteps = [&] { steps = stepsInLevelOrder(*this, writable_, byLevel, depth); };
    // The pairs that share a new path are found meanwhile: the same look-up
    // over every new path as the order's, and as long.
    const auto findShared = [&] {
        sharesNewPath_ = PathIndex(n, [this](size_t i) { return newPath(i); }).shared();
    };
    if (n >= kSharedFrom) {
        withHelperThread(makeSteps, findShared);
    } else {
        makeSteps();
        findShared();
    }
    writable_ = {};
    // Pairs are kept in the order of their first step.
    std::vector<std::uint32_t> order;
    std::vector<std::uint32_t> newIndex(n, kNone);
    order.reserve(n);
    for (const Step& step : steps) {
        if (newIndex[step.pair] == kNone) {
            newIndex[step.pair] = static_cast<std::uint32_t>(order.size());
            order.push_back(byLevel[step.pair]);
        }
    }
    for (Step& step : steps)
        step.pair = newIndex[step.pair];
    putPairsInOrder(order);
    steps_ = std::move(steps);
}

// Reorders every pair's data in place: order[i] is the pair that becomes the i-th.
void RenameOptimizer::putPairsInOrder(const std::vector<std::uint32_t>& order) {
    oldNames_.reorder(order);
    newFileNames_.reorder(order);
    identities_.reorder(order);
    std::vector<bool> shared(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        shared[i] = sharesNewPath_[order[i]];
    sharesNewPath_ = std::move(shared);
    if (keptNames_.empty())
        return;
    std::vector<std::uint32_t> indexOf(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        indexOf[order[i]] = static_cast<std::uint32_t>(i);
    for (auto& kept : keptNames_)
        kept.first = indexOf[kept.first];
    std::sort(keptNames_.begin(), keptNames_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
}

} // namespace morvane
