#pragma once
// The values that one sorting mode compares, read for a set of entries.
//
//   mode 0, 1    the name (last path component), case-folded
//   mode 2, 3    modification date      mode 4, 5    creation date
//   mode 6, 7    size in bytes (32-bit) mode 8, 9    EXIF date
//   mode 10, 11  the name, ignoring case, digit runs by value
//   any other    no value: every pair compares equal
//
// Even modes ascend; an odd mode is its even neighbour inverted. An item
// whose date cannot be read (it vanished) has no date and comes before every
// dated item, as an item without an EXIF date does.
//
// Names become byte keys (one contiguous buffer), dates and sizes numbers, so
// that a sort reads each entry's value once and compares plain data.
#include "MRVN7x/filelist/NaturalNameCollator.h"
#include "platform/HelperThread.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class FileInformation;
class NaturalNameCollator;

class SortingModeValues {
public:
    static bool isKnownMode(std::int32_t mode) { return static_cast<std::uint32_t>(mode) <= 11; }
    static bool isDescendingMode(std::int32_t mode) { return (mode & 1) != 0; }

    // Reads the values of mode for count entries whose paths pathAt(i) gives.
    template <typename PathAt>
    SortingModeValues(std::int32_t mode, std::size_t count, PathAt&& pathAt, FileInformation& fm,
                      NaturalNameCollator& collator);

    // Ascending comparison of entries a and b (the mode's direction is ignored): -1, 0 or 1.
    int compareAscending(std::size_t a, std::size_t b) const;
    // The comparison under the mode itself.
    int compare(std::size_t a, std::size_t b) const;

    // Dense ranks in the mode's own order: equal values share a rank and a
    // smaller rank comes first.
    std::vector<std::uint32_t> ranks() const;

private:
    enum class Kind { None, Text, Number };
    // From this many names on, a second thread makes half of the keys.
    static constexpr std::size_t kSharedFrom = 8192;

    struct TextKeys {
        std::string bytes;               // the keys, one after the other
        std::vector<std::uint32_t> ends; // end offset of each key in bytes
    };
    void addNumber(const std::string& path, FileInformation& fm);
    void addText(std::string_view path, NaturalNameCollator& collator, TextKeys& keys) const;
    std::string_view keyOf(std::size_t entry) const;
    template <typename PathAt>
    void addTexts(std::size_t begin, std::size_t end, PathAt& pathAt, NaturalNameCollator& collator,
                  TextKeys& keys) const {
        keys.ends.reserve(keys.ends.size() + (end - begin));
        for (std::size_t i = begin; i < end; ++i)
            addText(pathAt(i), collator, keys);
    }

    std::int32_t mode_;
    Kind kind_;
    std::size_t count_;
    std::vector<double> numbers_;
    // The keys of the entries before secondFrom_, and of those from it on.
    TextKeys keys_[2];
    std::size_t secondFrom_ = SIZE_MAX;
};

template <typename PathAt>
SortingModeValues::SortingModeValues(std::int32_t mode, std::size_t count, PathAt&& pathAt,
                                     FileInformation& fm, NaturalNameCollator& collator)
    : mode_(mode), count_(count) {
    if (!isKnownMode(mode))
        kind_ = Kind::None;
    else if (mode <= 1 || mode >= 10)
        kind_ = Kind::Text;
    else
        kind_ = Kind::Number;
    if (kind_ == Kind::Number) {
        numbers_.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            addNumber(std::string(pathAt(i)), fm);
    }
    if (kind_ != Kind::Text)
        return;
    // A name's key depends on the name alone, so a long list shares the work
    // with a second thread (with a collator of its own), which keeps the keys
    // of the second half apart.
    secondFrom_ = count >= kSharedFrom ? count / 2 : count;
    const auto addFirstHalf = [&] { addTexts(0, secondFrom_, pathAt, collator, keys_[0]); };
    if (secondFrom_ == count)
        addFirstHalf();
    else
        withHelperThread(addFirstHalf, [&, own = collator.forAnotherThread()] {
            addTexts(secondFrom_, count, pathAt, *own, keys_[1]);
        });
}

} // namespace morvane
