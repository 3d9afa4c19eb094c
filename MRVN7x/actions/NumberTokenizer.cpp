#include "MRVN7x/actions/NumberTokenizer.h"

namespace morvane {

NumberTokenizer::NumberTokenizer(std::u16string string) : string_(std::move(string)) {
    tokenize();
}

void NumberTokenizer::tokenize() {
    bool inRun = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < string_.size(); ++i) {
        const bool digit = isDigit(string_[i]);
        if (!inRun && digit) {
            start = i;
            inRun = true;
        } else if (inRun && !digit) {
            blocks_.push_back(
                {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i - start)});
            inRun = false;
        }
    }
    if (inRun)
        blocks_.push_back({static_cast<std::uint32_t>(start),
                           static_cast<std::uint32_t>(string_.size() - start)});
}

NumberTokenizer::Range NumberTokenizer::getNumberTokenRangeFromLeft(std::int64_t index) const {
    if (index < 0 || index >= static_cast<std::int64_t>(blocks_.size()))
        return {kNotFound, 0};
    return blocks_[static_cast<std::size_t>(index)];
}

NumberTokenizer::Range NumberTokenizer::getNumberTokenRangeFromRight(std::int64_t index) const {
    if (index < 0)
        return {kNotFound, 0};
    return getNumberTokenRangeFromLeft(static_cast<std::int64_t>(blocks_.size()) - index - 1);
}

} // namespace morvane
