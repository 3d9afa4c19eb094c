#include "MRVN7x/actions/TruncateAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

plist::Dictionary TruncateAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["number of characters"] = plist::Value(8);
    params["smart"] = plist::Value(0);
    return params;
}

void TruncateAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramNumberOfCharacters = getParamInt("number of characters", 0);
    paramSmart = getParamInt("smart", 0);
}

std::u16string TruncateAction::firstUnits(const std::u16string& text, std::size_t count) {
    if (count >= text.size())
        return text;
    return text.substr(0, UnicodeText::codePointBoundaryAtOrBefore(text, count));
}

std::u16string TruncateAction::lastUnits(const std::u16string& text, std::size_t count) {
    if (count >= text.size())
        return text;
    return text.substr(UnicodeText::codePointBoundaryAtOrAfter(text, text.size() - count));
}

std::u16string TruncateAction::processName(const std::u16string& fragment, const std::string&,
                                           InputContext&) {
    if (paramNumberOfCharacters < 0)
        return fragment;
    const auto limit = static_cast<std::size_t>(paramNumberOfCharacters);
    if (fragment.size() <= limit)
        return fragment;
    if (paramSmart != 1)
        return firstUnits(fragment, limit);
    // The tail starts at the first dot, not the last: 'a.b.c' keeps '.b.c'.
    const auto dot = fragment.find(u'.');
    if (dot == std::u16string::npos)
        return firstUnits(fragment, limit);
    const std::u16string head = fragment.substr(0, dot);
    const std::u16string tail = fragment.substr(dot);
    if (tail.size() < limit)
        return firstUnits(head, limit - tail.size()) + tail;
    return lastUnits(tail, limit);
}

} // namespace morvane
