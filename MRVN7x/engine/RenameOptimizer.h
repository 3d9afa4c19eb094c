#pragma once
// Puts the renames of a run in a safe order.
//
// Between folder levels: deeper items first, so that an item always gets its
// new name before any folder above it and its old path is still valid when
// its turn comes; paths of equal depth start in ascending, case-sensitive
// text order.
//
// Within a level, a rename whose new path is the old path of another item of
// the batch waits until that item has moved: a chain (f1 -> f2, f2 -> f3)
// runs from its free end (f2 -> f3 first). A cycle (a swap, a -> b -> c -> a)
// has no free end; it is broken by moving its first item to a temporary name
// in the same folder, running the rest of the cycle, and then moving the item
// from the temporary name to its new name. Such an item has two steps; every
// other item has one. The renamer never replaces anything, so an item whose
// target is held by something outside the batch is still met as existing.
#include "platform/FileOperations.h"
#include "platform/ItemIdentities.h"
#include "platform/TextList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

class RenameOptimizer {
public:
    static constexpr const char* kCycleTemporaryName = ".morvane cycle in progress";

    enum class StepKind : std::uint8_t {
        Whole,        // the pair's one rename
        ToTemporary,  // first half of a broken cycle: old path -> temporary path
        FromTemporary // second half: temporary path -> new name
    };
    struct Step {
        std::uint32_t pair;
        StepKind kind;
    };

    // Room for count pairs at once: a plan of a million pairs grows its arrays
    // by neither reallocation nor the page faults of every larger copy.
    void reserve(size_t count);
    void addOldName(std::string_view path, std::u16string_view newName, ItemIdentity identity = {});
    // The same for the path paths[index], which the plan shares instead of copying.
    void addOldName(const TextList& paths, size_t index, std::u16string_view newName,
                    ItemIdentity identity);
    void optimizeRenameOrder();

    // The pairs, in the order of their first step. Paths are kept as text
    // lists: a plan of a million pairs holds no heap text per pair.
    const TextList& oldNames() const { return oldNames_; }
    ItemIdentity identity(size_t pair) const { return identities_[pair]; }
    // Each pair's new path: PathText::pathOfDisplayName of its folder and new
    // name. Only the name on disk is kept; the folder is the old path's.
    std::string newPath(size_t pair) const;
    void newPath(size_t pair, std::string& path) const; // into path, its storage reused
    std::string_view newFileName(size_t pair) const { return newFileNames_[pair]; } // as stored
    // Each pair's new name. Most are the display forms of their stored names and
    // are not kept twice; only a name its stored form does not give back (one with a
    // ":" or a half character) is kept as it was added.
    std::u16string newName(size_t pair) const;
    void newName(size_t pair, std::u16string& name) const; // into name, its storage reused
    size_t count() const { return oldNames_.size(); }
    // Whether another pair has the same new path (a conflict), once the order is made.
    bool sharesNewPath(size_t pair) const { return sharesNewPath_[pair]; }
    // Every rename of the run in order: one step per pair, two for each pair
    // that breaks a cycle.
    const std::vector<Step>& steps() const { return steps_; }
    // Starts bringing the texts of a step's pair into the cache: a run asks
    // for the next step's while the system renames the item of this one.
    void prefetchStep(size_t step) const;
    // Where a pair that breaks a cycle waits between its two steps.
    static std::string temporaryPathFor(std::string_view oldPath);

private:
    void addNewName(std::u16string_view newName);
    void putPairsInOrder(const std::vector<std::uint32_t>& order);

    TextList oldNames_;
    TextList newFileNames_; // by pair: the new name as on disk
    ItemIdentities identities_;
    std::vector<bool> writable_; // by pair as added; until the order is made
    // The new names not given back by their stored names, by pair, in pair order.
    std::vector<std::pair<std::uint32_t, std::u16string>> keptNames_;
    std::vector<Step> steps_;
    std::vector<bool> sharesNewPath_;
};

} // namespace morvane
