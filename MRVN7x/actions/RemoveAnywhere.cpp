#include "MRVN7x/actions/RemoveAnywhere.h"

#include "MRVN7x/actions/text/OccurrenceFinder.h"

#include <utility>

namespace morvane {

namespace {
const char* const numberKeys[] = {
    "from mode",
    "from position",
    "from which end of position",
    "from which occurence",
    "from which end of occurence",
    "to mode",
    "to position number",
    "to which end of position",
    "to occurence number",
    "to which end of occurence",
    "remove number of characters",
    "remove number of characters from which end",
};

// An index counted from the start, or from the end when fromEnd is non-zero.
std::int64_t positionIndex(const std::u16string& name, std::int32_t position,
                           std::int32_t fromEnd) {
    return fromEnd != 0 ? static_cast<std::int64_t>(name.size()) - position : position;
}
} // namespace

plist::Dictionary RemoveAnywhere::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    for (const char* key : numberKeys)
        params[key] = plist::Value(0);
    params["from ignore case"] = plist::Value(1);
    params["to ignore case"] = plist::Value(1);
    params["from search term"] = plist::Value("");
    params["to search term"] = plist::Value("");
    return params;
}

void RemoveAnywhere::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramFromMode = getParamInt("from mode", 0);
    paramFromPositionNumber = getParamInt("from position", 0);
    paramFromWhichEndOfPosition = getParamInt("from which end of position", 0);
    paramFromWhichOccurence = getParamInt("from which occurence", 0);
    paramFromWhichEndOfOccurence = getParamInt("from which end of occurence", 0);
    paramFromOccurenceMask = searchMaskForIgnoreCase(getParamInt("from ignore case", 1));
    paramFromSearchTerm = getParamText("from search term");
    paramToMode = getParamInt("to mode", 0);
    paramToPositionNumber = getParamInt("to position number", 0);
    paramToWhichEndOfPosition = getParamInt("to which end of position", 0);
    paramToOccurenceNumber = getParamInt("to occurence number", 0);
    paramToWhichEndOfOccurence = getParamInt("to which end of occurence", 0);
    paramToOccurenceMask = searchMaskForIgnoreCase(getParamInt("to ignore case", 1));
    paramToSearchTerm = getParamText("to search term");
    paramRemoveNumberOfCharacters = getParamInt("remove number of characters", 0);
    paramRemoveNumberOfCharactersFromWhichEnd =
        getParamInt("remove number of characters from which end", 0);
}

std::optional<TextRange> RemoveAnywhere::findOccurence(const std::u16string& name,
                                                       const std::u16string& term,
                                                       std::int64_t occurence,
                                                       SearchOptions options) {
    return OccurrenceFinder::find(name, term, occurence, options);
}

std::optional<std::int64_t> RemoveAnywhere::findFromPosition(const std::u16string& name) const {
    switch (paramFromMode) {
    case 0:
        return positionIndex(name, paramFromPositionNumber, paramFromWhichEndOfPosition);
    case 1: {
        auto found = findOccurence(name, paramFromSearchTerm, paramFromWhichOccurence,
                                   paramFromOccurenceMask);
        if (!found)
            return std::nullopt;
        return static_cast<std::int64_t>(paramFromWhichEndOfOccurence != 0 ? found->end()
                                                                           : found->location);
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::int64_t> RemoveAnywhere::findToPosition(const std::u16string& name,
                                                           std::int64_t fromPosition) const {
    switch (paramToMode) {
    case 0:
        return positionIndex(name, paramToPositionNumber, paramToWhichEndOfPosition);
    case 1: {
        auto found =
            findOccurence(name, paramToSearchTerm, paramToOccurenceNumber, paramToOccurenceMask);
        if (!found)
            return std::nullopt;
        return static_cast<std::int64_t>(paramToWhichEndOfOccurence != 0 ? found->end()
                                                                         : found->location);
    }
    case 2:
        return paramRemoveNumberOfCharactersFromWhichEnd != 0
                   ? fromPosition - paramRemoveNumberOfCharacters
                   : fromPosition + paramRemoveNumberOfCharacters;
    default:
        return std::nullopt;
    }
}

std::u16string RemoveAnywhere::processName(const std::u16string& fragment, const std::string&,
                                           InputContext&) {
    const auto from = findFromPosition(fragment);
    if (!from)
        return fragment;
    const auto to = findToPosition(fragment, *from);
    if (!to)
        return fragment;
    std::int64_t a = *from;
    std::int64_t b = *to;
    // A count running backward ends at the start index.
    if (a > b && paramToMode == 2 && paramRemoveNumberOfCharactersFromWhichEnd == 1)
        std::swap(a, b);
    const auto length = static_cast<std::int64_t>(fragment.size());
    if (a < 0 || b < 0 || a > length || b > length || a > b)
        return fragment;
    const auto start = static_cast<std::size_t>(a);
    const auto end = static_cast<std::size_t>(b);
    if (!UnicodeText::isCodePointBoundary(fragment, start) ||
        !UnicodeText::isCodePointBoundary(fragment, end))
        return fragment;
    return fragment.substr(0, start) + fragment.substr(end);
}

} // namespace morvane
