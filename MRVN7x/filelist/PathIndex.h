#pragma once
// Finds a row by its path text in constant expected time, without keeping the
// paths: PathOf(size_t row) gives a row's path (a std::string made when asked,
// or a view of a text kept elsewhere). An open-addressing table of rows, each
// slot with 32 bits of the path's hash, so a million rows cost 12 MiB, and a
// path is made again only when those bits match. The first row of a path
// wins, as a search from the start would.
//
// Over a big table most of an insertion's or a look-up's time is the wait for
// its slot from memory, so the rows are inserted, and many paths may be looked
// up (findEach), in batches whose slots are fetched together.
#include "platform/TextList.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvane {

inline constexpr int kPathNotFound = -1;

template <class PathOf> class PathIndex {
public:
    PathIndex(size_t count, PathOf pathOf)
        : pathOf_(std::move(pathOf)), rows_(count),
          slots_(std::max<size_t>(16, count + count / 2)) {
        std::array<std::decay_t<std::invoke_result_t<PathOf&, size_t>>, kBatch> paths;
        std::array<std::uint64_t, kBatch> hashes;
        for (size_t begin = 0; begin < count; begin += kBatch) {
            const size_t n = std::min(kBatch, count - begin);
            for (size_t k = 0; k < n; ++k) {
                paths[k] = pathOf_(begin + k);
                hashes[k] = fetchSlotOf(paths[k]);
            }
            for (size_t k = 0; k < n; ++k)
                insert(begin + k, paths[k], hashes[k]);
        }
    }

    // The first row with the path, or kPathNotFound.
    int find(std::string_view path) const { return find(path, hashOf(path)); }

    // Looks up count paths, the i-th written into its argument by
    // pathAt(i, std::string&), and calls found(i, first row or kPathNotFound)
    // for each, in order.
    template <class PathAt, class Found>
    void findEach(size_t count, PathAt pathAt, Found found) const {
        std::array<std::string, kBatch> paths;
        std::array<std::uint64_t, kBatch> hashes;
        for (size_t begin = 0; begin < count; begin += kBatch) {
            const size_t n = std::min(kBatch, count - begin);
            for (size_t k = 0; k < n; ++k) {
                pathAt(begin + k, paths[k]);
                hashes[k] = fetchSlotOf(paths[k]);
            }
            for (size_t k = 0; k < n; ++k)
                found(begin + k, find(paths[k], hashes[k]));
        }
    }

    // By row: true for every row whose path another row has too.
    std::vector<bool> shared() const {
        std::vector<bool> result(rows_, false);
        for (const auto& [row, first] : repeats_)
            result[row] = result[first] = true;
        return result;
    }

private:
    static constexpr size_t kBatch = 16;

    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t row = kPathNotFound;
    };

    static std::uint64_t hashOf(std::string_view path) {
        return std::hash<std::string_view>{}(path);
    }
    // The upper bits pick the slot and the lower bits are kept to skip most
    // path comparisons, so the two uses of the hash are independent.
    static std::uint32_t storedBits(std::uint64_t hash) { return static_cast<std::uint32_t>(hash); }
    // The upper 32 bits scaled to the table, which need not be a power of two.
    size_t firstSlot(std::uint64_t hash) const { return ((hash >> 32) * slots_.size()) >> 32; }
    size_t nextSlot(size_t slot) const { return slot + 1 == slots_.size() ? 0 : slot + 1; }
    bool samePath(std::int32_t row, std::string_view path) const {
        return std::string_view(pathOf_(static_cast<size_t>(row))) == path;
    }

    // The path's hash, its first slot on its way to the cache meanwhile.
    std::uint64_t fetchSlotOf(std::string_view path) const {
        const std::uint64_t hash = hashOf(path);
        __builtin_prefetch(&slots_[firstSlot(hash)]);
        return hash;
    }

    int find(std::string_view path, std::uint64_t hash) const {
        for (size_t slot = firstSlot(hash);; slot = nextSlot(slot)) {
            const Slot& candidate = slots_[slot];
            if (candidate.row == kPathNotFound)
                return kPathNotFound;
            if (candidate.hash == storedBits(hash) && samePath(candidate.row, path))
                return candidate.row;
        }
    }

    void insert(size_t row, std::string_view path, std::uint64_t hash) {
        for (size_t slot = firstSlot(hash);; slot = nextSlot(slot)) {
            Slot& candidate = slots_[slot];
            if (candidate.row == kPathNotFound) {
                candidate = {storedBits(hash), static_cast<std::int32_t>(row)};
                return;
            }
            if (candidate.hash == storedBits(hash) && samePath(candidate.row, path)) {
                // an earlier row with the same path keeps the slot
                repeats_.emplace_back(row, static_cast<size_t>(candidate.row));
                return;
            }
        }
    }

    PathOf pathOf_;
    size_t rows_;
    std::vector<Slot> slots_;                        // at most two thirds full
    std::vector<std::pair<size_t, size_t>> repeats_; // a row and the first row of its path
};

// The texts of a list that must stay unchanged while an index over it is used.
struct TextAt {
    const TextList* texts;
    std::string_view operator()(size_t row) const { return (*texts)[row]; }
};
using TextListIndex = PathIndex<TextAt>;
inline TextListIndex indexOfTexts(const TextList& texts) {
    return {texts.size(), TextAt{&texts}};
}

} // namespace morvane
