#include "cli/Suggestion.h"

#include <algorithm>
#include <cctype>

namespace morvane::cli {

std::string folded(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

namespace {

size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}
} // namespace

std::optional<std::string> closestMatch(const std::string& word,
                                        const std::vector<std::string>& candidates) {
    const std::string target = folded(word);
    std::optional<std::string> best;
    size_t bestDistance = 0;
    for (const std::string& candidate : candidates) {
        const std::string other = folded(candidate);
        size_t distance = editDistance(target, other);
        // A word that is the start of a candidate ("search" of "search term") is near.
        if (target.size() >= 3 && other.rfind(target, 0) == 0)
            distance = std::min(distance, size_t{2});
        if (!best || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    const size_t allowed = std::max<size_t>(2, target.size() / 3);
    return best && bestDistance <= allowed ? best : std::nullopt;
}

std::string didYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    auto match = closestMatch(word, candidates);
    return match ? "; did you mean \"" + *match + "\"?" : std::string();
}

std::string quotedList(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += std::string(i == 0                  ? ""
                           : i + 1 == items.size() ? " and "
                                                   : ", ") +
               "\"" + items[i] + "\"";
    return out.empty() ? "none" : out;
}

} // namespace morvane::cli
