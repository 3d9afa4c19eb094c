#include "MRVN7x/actions/text/OccurrenceFinder.h"

namespace morvane {

std::optional<TextRange> OccurrenceFinder::find(const std::u16string& text,
                                                const std::u16string& term, std::int64_t occurrence,
                                                SearchOptions options) {
    if (term.empty() || occurrence < 0)
        return std::nullopt;
    const SearchOptions caseMask = options & kCaseInsensitiveSearch;
    if (occurrence < kFirstFromEnd) {
        const auto matches = UnicodeText::findAll(text, term, caseMask);
        if (occurrence >= static_cast<std::int64_t>(matches.size()))
            return std::nullopt;
        return matches[static_cast<std::size_t>(occurrence)];
    }
    // Every step needs a match, so there can be no more steps than units.
    const std::int64_t wanted = occurrence - kFirstFromEnd + 1;
    if (wanted > static_cast<std::int64_t>(text.size()))
        return std::nullopt;
    std::optional<TextRange> match;
    std::size_t limit = text.size();
    for (std::int64_t found = 0; found < wanted; ++found) {
        match = UnicodeText::find(text, term, caseMask | kBackwardsSearch, TextRange{0, limit});
        if (!match)
            return std::nullopt;
        limit = match->location;
    }
    return match;
}

std::int64_t OccurrenceFinder::findStart(const std::u16string& text, const std::u16string& term,
                                         std::int64_t occurrence, SearchOptions options) {
    auto match = find(text, term, occurrence, options);
    return match ? static_cast<std::int64_t>(match->location) : -1;
}

} // namespace morvane
