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

#include <cstdint>
#include <string>
#include <thread>
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
    void addText(const std::string& path, NaturalNameCollator& collator, TextKeys& keys) const;
    void append(const TextKeys& more);
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
    TextKeys keys_;
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
            addNumber(pathAt(i), fm);
    }
    if (kind_ != Kind::Text)
        return;
    // A name's key depends on the name alone, so a long list shares the work
    // with a second thread (with a collator of its own); the keys of its half
    // follow those of the first.
    const std::size_t half = count >= kSharedFrom ? count / 2 : count;
    TextKeys secondHalf;
    std::jthread helper;
    if (half < count)
        helper = std::jthread([&, own = collator.forAnotherThread()] {
            addTexts(half, count, pathAt, *own, secondHalf);
        });
    addTexts(0, half, pathAt, collator, keys_);
    if (helper.joinable()) {
        helper.join();
        append(secondHalf);
    }
}

} // namespace morvane
