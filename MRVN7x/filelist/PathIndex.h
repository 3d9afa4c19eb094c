#pragma once
// Finds an entry's position by its path text in constant expected time.
//
// An open-addressing table of positions into a list of paths that the index
// does not own: each slot keeps 32 bits of the path's hash and the position,
// so a 100,000-entry list costs 2 MiB and no copy of any path. The first
// position of a text wins, as a search from the start of the list would.
#include "platform/TextList.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace morvane {

class PathIndex {
public:
    static constexpr int kNotFound = -1;

    // Indexes paths; the list must stay unchanged until the next rebuild or clear.
    void rebuild(const TextList& paths);
    void clear();
    int find(std::string_view path) const;

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t position = kNotFound;
    };
    const TextList* paths_ = nullptr;
    std::vector<Slot> slots_; // size a power of two, at most half full
};

} // namespace morvane
