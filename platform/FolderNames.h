#pragma once
// The names in one folder, read once and kept as hashes (16 bytes a name), to
// answer "is there an item of this name?" for many names without a lookup on
// disk for each. Only for a folder whose names are compared byte for byte:
// where the folder ignores case, or its file system is one we cannot tell
// about, `read` gives nothing and the caller asks the disk name by name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class FolderNames {
public:
    static std::optional<FolderNames> read(const std::string& folder);

    // False when no item had the name when the folder was read; true when one
    // may have had it (a hash matched: the disk tells for sure).
    bool mayHave(std::string_view name) const;

private:
    static constexpr std::uint64_t kEmpty = 0;
    size_t firstSlot(std::uint64_t hash) const { return (hash >> 32) & (slots_.size() - 1); }
    size_t nextSlot(size_t slot) const { return (slot + 1) & (slots_.size() - 1); }

    std::vector<std::uint64_t> slots_; // hashes of the names, open addressing, at most half full
};

} // namespace morvane
