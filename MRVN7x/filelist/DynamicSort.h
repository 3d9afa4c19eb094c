#pragma once
// One order of the dynamic file list's entries, for a pair of sorting modes:
// the first mode decides, the second breaks its ties, and entries equal
// under both keep their expansion order.
//
// The entries are never copied or moved; the order is kept as index lists
// over the list's internal indexes:
//   indexList       position k -> internal index of the k-th entry
//   positionList    internal index -> its position in indexList
//   localIndexList  internal index -> its 0-based position among the
//                   entries of its own folder, in this order
// A new object holds nothing. The lists are computed on the first question
// after the object was made or marked out of date (localIndexList only when
// asked for itself), and released when it is
// marked out of date again, so an order nobody asks for costs no memory.
//
// The sort reads each entry's value once per mode (see SortingModeValues),
// turns it into a rank, and sorts the internal indexes by (rank under the
// first mode, rank under the second mode, internal index). Values of the
// second mode are read only for entries that tie under the first: ranks among
// those order exactly as ranks among all entries would.
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

class DynamicFileList;

class DynamicSort {
public:
    static constexpr int kNotFound = -1;

    DynamicSort() = default;
    DynamicSort(const DynamicSort&) = delete;
    DynamicSort& operator=(const DynamicSort&) = delete;

    void setDynamicFileList(DynamicFileList* list) { list_ = list; }
    void setSortingMode(std::int32_t mode) { sortingMode_ = mode; }
    void setSortingMode2(std::int32_t mode) { sortingMode2_ = mode; }
    std::int32_t getSortingMode() const { return sortingMode_; }
    std::int32_t getSortingMode2() const { return sortingMode2_; }

    void markIndexesAsDirty();
    bool isDirty() const { return dirty_; }
    void performSort();

    // Comparisons of two internal indexes: -1, 0 or 1.
    int getSortingResultFor(int a, int b) const;
    int getSortingResultFor(int a, int b, std::int32_t mode) const;

    // The 1-based position of path in this order, or within its folder when
    // eachFolderSeparately is set; 0 when path is not an entry of the list.
    int getSortingIndexForPath(const std::string& path, bool eachFolderSeparately,
                               int indexHint = -1);
    // kNotFound for a position or index outside the list.
    int translateExternalIndexToInternal(int position);
    int translateInternalIndexToExternal(int internalIndex);

    // The lists themselves (computed first when out of date).
    const std::vector<std::int32_t>& indexList();
    const std::vector<std::int32_t>& localIndexList();

private:
    void breakTies(const std::vector<std::uint32_t>& firstRanks, std::vector<std::uint64_t>& keys);
    void computeIfDirty();
    void computeLocalIndexes();

    DynamicFileList* list_ = nullptr;
    std::int32_t sortingMode_ = 0;
    std::int32_t sortingMode2_ = 0;
    bool dirty_ = true;
    std::vector<std::int32_t> indexList_;
    std::vector<std::int32_t> positionList_;
    std::vector<std::int32_t> localIndexList_;
};

} // namespace morvane
