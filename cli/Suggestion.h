#pragma once
// "Did you mean": the candidate closest to a mistyped word, compared without
// regard to case by edit distance, or nothing when none is close enough.
#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

// The text with ASCII letters in lower case: words typed on a command line
// are compared with names and titles this way.
std::string folded(const std::string& text);

// The closest candidate; a candidate equal to the word but for case wins.
std::optional<std::string> closestMatch(const std::string& word,
                                        const std::vector<std::string>& candidates);

// ", did you mean \"X\"?" or the empty text.
std::string didYouMean(const std::string& word, const std::vector<std::string>& candidates);

// "a", "b" and "c", quoted.
std::string quotedList(const std::vector<std::string>& items);

} // namespace morvane::cli
