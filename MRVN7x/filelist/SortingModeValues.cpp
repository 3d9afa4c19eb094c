#include "MRVN7x/filelist/SortingModeValues.h"

#include "MRVN7x/actions/FileInformation.h"
#include "MRVN7x/filelist/NaturalNameCollator.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <numeric>

namespace morvane {
namespace {
constexpr double kNoDate = -std::numeric_limits<double>::infinity();

int sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}
} // namespace

void SortingModeValues::addNumber(const std::string& path, FileInformation& fm) {
    switch (mode_ / 2) {
    case 1:
        numbers_.push_back(fm.fileModificationDate(path).value_or(kNoDate));
        return;
    case 2:
        numbers_.push_back(fm.fileCreationDate(path).value_or(kNoDate));
        return;
    case 3:
        numbers_.push_back(fm.fileLength(path));
        return;
    default:
        numbers_.push_back(fm.fileEXIFDate(path));
        return;
    }
}

void SortingModeValues::addText(std::string_view path, NaturalNameCollator& collator,
                                TextKeys& keys) const {
    const std::u16string name = PathText::fromUtf8(PathText::lastComponentView(path));
    if (mode_ <= 1)
        appendFoldedNameKey(name, keys.bytes);
    else
        collator.appendSortKey(name, keys.bytes);
    keys.ends.push_back(static_cast<std::uint32_t>(keys.bytes.size()));
}

std::string_view SortingModeValues::keyOf(std::size_t entry) const {
    const bool second = entry >= secondFrom_;
    const TextKeys& keys = keys_[second ? 1 : 0];
    const std::size_t index = second ? entry - secondFrom_ : entry;
    const std::size_t start = index == 0 ? 0 : keys.ends[index - 1];
    return std::string_view(keys.bytes).substr(start, keys.ends[index] - start);
}

int SortingModeValues::compareAscending(std::size_t a, std::size_t b) const {
    switch (kind_) {
    case Kind::None:
        return 0;
    case Kind::Number:
        return numbers_[a] < numbers_[b] ? -1 : (numbers_[b] < numbers_[a] ? 1 : 0);
    case Kind::Text: {
        const std::string_view keyA = keyOf(a), keyB = keyOf(b);
        const int common =
            std::memcmp(keyA.data(), keyB.data(), std::min(keyA.size(), keyB.size()));
        if (common != 0)
            return sign(common);
        return keyA.size() < keyB.size() ? -1 : (keyA.size() > keyB.size() ? 1 : 0);
    }
    }
    return 0;
}

int SortingModeValues::compare(std::size_t a, std::size_t b) const {
    const int ascending = compareAscending(a, b);
    return isDescendingMode(mode_) ? -ascending : ascending;
}

std::vector<std::uint32_t> SortingModeValues::ranks() const {
    std::vector<std::uint32_t> rank(count_, 0);
    if (kind_ == Kind::None || count_ == 0)
        return rank;
    std::vector<std::uint32_t> order(count_);
    std::iota(order.begin(), order.end(), 0u);
    // Equal values get one rank whatever their order, so the sort may share its work.
    sortOnTwoThreads(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return compareAscending(a, b) < 0; });
    std::uint32_t current = 0;
    for (std::size_t k = 1; k < count_; ++k) {
        if (compareAscending(order[k - 1], order[k]) != 0)
            ++current;
        rank[order[k]] = current;
    }
    if (isDescendingMode(mode_))
        for (auto& value : rank)
            value = current - value;
    return rank;
}

} // namespace morvane
