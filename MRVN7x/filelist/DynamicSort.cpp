#include "MRVN7x/filelist/DynamicSort.h"

#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/filelist/SortingModeValues.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace morvane {
namespace {
// The path without its last component ("/" for items of the root folder).
std::string_view folderPart(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos)
        return {};
    std::string_view folder = path.substr(0, slash);
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    return folder.empty() ? path.substr(0, 1) : folder;
}

// The internal indexes of the entries that share their rank with another
// entry; every entry when there are no ranks (a mode that orders nothing).
std::vector<std::uint32_t> entriesThatTie(const std::vector<std::uint32_t>& ranks, size_t n) {
    std::vector<std::uint32_t> tied;
    if (ranks.empty()) {
        tied.resize(n);
        std::iota(tied.begin(), tied.end(), 0u);
        return tied;
    }
    std::vector<std::uint32_t> members(*std::max_element(ranks.begin(), ranks.end()) + 1u, 0);
    for (const auto rank : ranks)
        ++members[rank];
    for (size_t i = 0; i < n; ++i)
        if (members[ranks[i]] > 1)
            tied.push_back(static_cast<std::uint32_t>(i));
    return tied;
}
} // namespace

void DynamicSort::markIndexesAsDirty() {
    dirty_ = true;
    indexList_ = {};
    positionList_ = {};
    localIndexList_ = {};
}

// The second mode only decides between entries that tie under the first, so
// its values are read for those entries alone: a secondary EXIF date would
// otherwise open every file of a list whose names are all different.
void DynamicSort::breakTies(const std::vector<std::uint32_t>& firstRanks,
                            std::vector<std::uint64_t>& keys) {
    if (!SortingModeValues::isKnownMode(sortingMode2_) || sortingMode2_ == sortingMode_)
        return;
    const std::vector<std::uint32_t> tied = entriesThatTie(firstRanks, keys.size());
    if (tied.empty())
        return;
    auto pathAt = [&](size_t j) { return list_->pathAtInternalIndex(static_cast<int>(tied[j])); };
    const SortingModeValues values(sortingMode2_, tied.size(), pathAt, list_->fileManager(),
                                   list_->naturalNameCollator());
    const std::vector<std::uint32_t> second = values.ranks();
    for (size_t j = 0; j < second.size(); ++j)
        keys[tied[j]] |= second[j];
}

void DynamicSort::performSort() {
    const size_t n = list_ ? static_cast<size_t>(list_->count()) : 0;
    std::vector<std::uint64_t> keys(n, 0);
    if (n > 0) {
        const auto& first = list_->ranksUnder(sortingMode_);
        for (size_t i = 0; i < first.size(); ++i)
            keys[i] = static_cast<std::uint64_t>(first[i]) << 32;
        breakTies(first, keys);
    }
    indexList_.resize(n);
    std::iota(indexList_.begin(), indexList_.end(), 0);
    std::sort(indexList_.begin(), indexList_.end(), [&](std::int32_t a, std::int32_t b) {
        const auto keyA = keys[static_cast<size_t>(a)];
        const auto keyB = keys[static_cast<size_t>(b)];
        return keyA != keyB ? keyA < keyB : a < b;
    });
    positionList_.resize(n);
    for (size_t k = 0; k < n; ++k)
        positionList_[static_cast<size_t>(indexList_[k])] = static_cast<std::int32_t>(k);
    localIndexList_ = {}; // made when first asked for
    dirty_ = false;
}

// One counter per folder text, walked in this order.
void DynamicSort::computeLocalIndexes() {
    const size_t n = indexList_.size();
    localIndexList_.assign(n, 0);
    std::unordered_map<std::string_view, std::int32_t> nextInFolder;
    for (size_t k = 0; k < n; ++k) {
        const std::int32_t index = indexList_[k];
        const std::string_view folder = folderPart(list_->pathAtInternalIndex(index));
        const auto counter = nextInFolder.try_emplace(folder, 0).first;
        localIndexList_[static_cast<size_t>(index)] = counter->second++;
    }
}

int DynamicSort::getSortingResultFor(int a, int b) const {
    const int first = getSortingResultFor(a, b, sortingMode_);
    return first != 0 ? first : getSortingResultFor(a, b, sortingMode2_);
}

int DynamicSort::getSortingResultFor(int a, int b, std::int32_t mode) const {
    if (!SortingModeValues::isKnownMode(mode) || !list_)
        return 0;
    const int n = list_->count();
    if (a < 0 || b < 0 || a >= n || b >= n)
        return 0;
    const std::string_view paths[2] = {list_->pathAtInternalIndex(a),
                                       list_->pathAtInternalIndex(b)};
    auto pathAt = [&](size_t i) { return paths[i]; };
    const SortingModeValues values(mode, 2, pathAt, list_->fileManager(),
                                   list_->naturalNameCollator());
    return values.compare(0, 1);
}

int DynamicSort::getSortingIndexForPath(const std::string& path, bool eachFolderSeparately,
                                        int indexHint) {
    computeIfDirty();
    if (!list_)
        return 0;
    const int index = list_->internalIndexOfPath(path, indexHint);
    if (index < 0 || static_cast<size_t>(index) >= indexList_.size())
        return 0;
    const auto& positions = eachFolderSeparately ? localIndexList() : positionList_;
    return positions[static_cast<size_t>(index)] + 1;
}

int DynamicSort::translateExternalIndexToInternal(int position) {
    computeIfDirty();
    if (position < 0 || static_cast<size_t>(position) >= indexList_.size())
        return kNotFound;
    return indexList_[static_cast<size_t>(position)];
}

int DynamicSort::translateInternalIndexToExternal(int internalIndex) {
    computeIfDirty();
    if (internalIndex < 0 || static_cast<size_t>(internalIndex) >= positionList_.size())
        return kNotFound;
    return positionList_[static_cast<size_t>(internalIndex)];
}

const std::vector<std::int32_t>& DynamicSort::indexList() {
    computeIfDirty();
    return indexList_;
}

const std::vector<std::int32_t>& DynamicSort::localIndexList() {
    computeIfDirty();
    if (localIndexList_.size() != indexList_.size())
        computeLocalIndexes();
    return localIndexList_;
}

void DynamicSort::computeIfDirty() {
    if (dirty_)
        performSort();
}

} // namespace morvane
