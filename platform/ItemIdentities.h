#pragma once
// The identities of many items at 12 bytes each instead of 24: the inode, and
// the type with the device as an index into the few devices the list has
// met (a list of a million items rarely spans more than a handful).
#include "platform/FileOperations.h"
#include "platform/TextList.h"

#include <cstdint>
#include <vector>

namespace morvane {

class ItemIdentities {
public:
    size_t size() const { return inodes_.size(); }
    void reserve(size_t count) {
        inodes_.reserve(count);
        kinds_.reserve(count);
    }
    void clear() {
        inodes_.clear();
        kinds_.clear();
    }
    void shrinkToFit() {
        inodes_.shrink_to_fit();
        kinds_.shrink_to_fit();
    }
    void push_back(const ItemIdentity& identity) {
        inodes_.push_back(identity.inode);
        kinds_.push_back(deviceIndex(identity.device) << 8 |
                         static_cast<unsigned char>(identity.type));
    }
    // Cuts the list to count, or fills it up with unknown identities.
    void resize(size_t count) {
        while (size() > count) {
            inodes_.pop_back();
            kinds_.pop_back();
        }
        while (size() < count)
            push_back({});
    }
    ItemIdentity operator[](size_t index) const {
        const std::uint32_t kind = kinds_[index];
        return {devices_[kind >> 8], inodes_[index], static_cast<char>(kind & 0xff)};
    }
    // order[i] is the old index of the new i-th identity.
    template <typename Index> void reorder(const std::vector<Index>& order) {
        reorderInPlace(inodes_, order);
        reorderInPlace(kinds_, order);
    }

private:
    std::uint32_t deviceIndex(std::uint64_t device) {
        if (last_ < devices_.size() && devices_[last_] == device)
            return static_cast<std::uint32_t>(last_);
        for (last_ = 0; last_ < devices_.size(); ++last_)
            if (devices_[last_] == device)
                return static_cast<std::uint32_t>(last_);
        devices_.push_back(device);
        return static_cast<std::uint32_t>(last_);
    }

    std::vector<std::uint64_t> inodes_;
    std::vector<std::uint32_t> kinds_;   // device index << 8 | type letter
    std::vector<std::uint64_t> devices_; // each device met, once
    size_t last_ = 0;                    // the index of the device met last
};

} // namespace morvane
