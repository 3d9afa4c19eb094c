#include "MRVN7x/filelist/PathIndex.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace morvane {
namespace {
std::uint64_t hashOf(std::string_view path) {
    return std::hash<std::string_view>{}(path);
}

// The upper bits pick the slot and the lower bits are kept to skip most
// text comparisons, so the two uses of the hash are independent.
std::uint32_t storedBits(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash);
}
} // namespace

void PathIndex::rebuild(const TextList& paths) {
    paths_ = &paths;
    const size_t capacity = std::bit_ceil(std::max<size_t>(16, paths.size() * 2));
    slots_.assign(capacity, Slot{});
    const size_t mask = capacity - 1;
    for (size_t position = 0; position < paths.size(); ++position) {
        const std::uint64_t hash = hashOf(paths[position]);
        for (size_t slot = (hash >> 32) & mask;; slot = (slot + 1) & mask) {
            Slot& candidate = slots_[slot];
            if (candidate.position == kNotFound) {
                candidate = {storedBits(hash), static_cast<std::int32_t>(position)};
                break;
            }
            if (candidate.hash == storedBits(hash) &&
                paths[static_cast<size_t>(candidate.position)] == paths[position])
                break; // an earlier entry with the same text keeps the slot
        }
    }
}

void PathIndex::clear() {
    paths_ = nullptr;
    slots_.clear();
    slots_.shrink_to_fit();
}

int PathIndex::find(std::string_view path) const {
    if (slots_.empty() || paths_ == nullptr)
        return kNotFound;
    const size_t mask = slots_.size() - 1;
    const std::uint64_t hash = hashOf(path);
    for (size_t slot = (hash >> 32) & mask;; slot = (slot + 1) & mask) {
        const Slot& candidate = slots_[slot];
        if (candidate.position == kNotFound)
            return kNotFound;
        if (candidate.hash == storedBits(hash) &&
            (*paths_)[static_cast<size_t>(candidate.position)] == path)
            return candidate.position;
    }
}

} // namespace morvane
