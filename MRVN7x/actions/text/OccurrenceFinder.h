#pragma once
// The occurrence finder of the search-based actions and the number-insert
// actions: occurrence number m picks
//     0 to 5        the (m + 1)-th match from the start (0 the first, ... 5 the sixth)
//     6 and above   the (m - 5)-th match from the end (6 the last, 7 the second to last, ...)
// From the start, each search continues after the end of the previous match;
// from the end, each search looks backwards only in the text before the start
// of the previous match. So both directions skip overlapping matches, each
// from its own side: in 'aaa' the last 'aa' starts at 1.
#include "MRVN7x/actions/text/UnicodeText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

class OccurrenceFinder {
public:
    // The range of the chosen occurrence in the original text; nothing when
    // there are fewer occurrences, the search text is empty or m is negative.
    static std::optional<TextRange> find(const std::u16string& text, const std::u16string& term,
                                         std::int64_t occurrence, SearchOptions options);
    // The start index of the chosen occurrence, or -1.
    static std::int64_t findStart(const std::u16string& text, const std::u16string& term,
                                  std::int64_t occurrence, SearchOptions options);

    static constexpr std::int64_t kFirstFromEnd = 6;
};

} // namespace morvane
