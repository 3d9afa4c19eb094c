#pragma once
// Finds a row by its path text in constant expected time, without keeping the
// paths: PathOf(size_t row) gives a row's path (a std::string made when asked,
// or a view of a text kept elsewhere). An open-addressing table of rows, each
// slot with 32 bits of the path's hash, so a million rows cost 12 MiB, and a
// path is made again only when those bits match. The first row of a path
// wins, as a search from the start would.
#include "platform/TextList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

inline constexpr int kPathNotFound = -1;

template <class PathOf> class PathIndex {
public:
    PathIndex(size_t count, PathOf pathOf)
        : pathOf_(std::move(pathOf)), rows_(count),
          slots_(std::max<size_t>(16, count + count / 2)) {
        for (size_t row = 0; row < count; ++row)
            insert(row);
    }

    // The first row with the path, or kPathNotFound.
    int find(std::string_view path) const {
        const std::uint64_t hash = hashOf(path);
        for (size_t slot = firstSlot(hash);; slot = nextSlot(slot)) {
            const Slot& candidate = slots_[slot];
            if (candidate.row == kPathNotFound)
                return kPathNotFound;
            if (candidate.hash == storedBits(hash) && samePath(candidate.row, path))
                return candidate.row;
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

    void insert(size_t row) {
        const auto& path = pathOf_(row);
        const std::uint64_t hash = hashOf(path);
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
