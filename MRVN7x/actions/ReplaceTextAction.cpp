#include "MRVN7x/actions/ReplaceTextAction.h"

#include <algorithm>

namespace morvane {

plist::Dictionary ReplaceTextAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["search term"] = plist::Value("");
    params["replacement term"] = plist::Value("");
    params["replacement mode"] = plist::Value(0);
    params["ignore case"] = plist::Value(1);
    return params;
}

void ReplaceTextAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramSearchTerm = getParamText("search term");
    paramReplacementTerm = getParamText("replacement term");
    paramReplacementMode = getParamInt("replacement mode", 0);
    paramMask = searchMaskForIgnoreCase(getParamInt("ignore case", 1));
}

bool ReplaceTextAction::shouldReplaceCurrentOccurence(std::size_t index, std::size_t count) const {
    const std::int64_t mode = paramReplacementMode;
    const auto i = static_cast<std::int64_t>(index);
    if (mode == 0)
        return true;
    if (mode >= 1 && mode <= 6)
        return i == mode - 1;
    if (mode >= 7)
        return i == static_cast<std::int64_t>(count) - (mode - 6);
    return false;
}

std::u16string ReplaceTextAction::extractChunkFrom(const std::u16string& text, std::size_t from,
                                                   std::size_t to) {
    from = std::min(from, text.size());
    to = std::clamp(to, from, text.size());
    return text.substr(from, to - from);
}

std::u16string ReplaceTextAction::processName(const std::u16string& fragment, const std::string&,
                                              InputContext&) {
    const auto occurrences = UnicodeText::findAll(fragment, paramSearchTerm, paramMask);
    if (occurrences.empty())
        return fragment;
    std::u16string result = extractChunkFrom(fragment, 0, occurrences.front().location);
    for (std::size_t i = 0; i < occurrences.size(); ++i) {
        const TextRange& occurrence = occurrences[i];
        if (shouldReplaceCurrentOccurence(i, occurrences.size()))
            result += paramReplacementTerm;
        else
            result += extractChunkFrom(fragment, occurrence.location, occurrence.end());
        const std::size_t next =
            i + 1 < occurrences.size() ? occurrences[i + 1].location : fragment.size();
        result += extractChunkFrom(fragment, occurrence.end(), next);
    }
    return result;
}

std::string ReplaceTextAction::userDescriptionOccurence() const {
    static const char* const phrases[] = {
        "all occurences of ",
        "only the first occurence of ",
        "only the second occurence of ",
        "only the third occurence of ",
        "only the fourth occurence of ",
        "only the fifth occurence of ",
        "only the sixth occurence of ",
        "only the last occurence of ",
        "only the second to last occurence of ",
        "only the third to last occurence of ",
        "only the forth to last occurence of ",
        "only the fifth to last occurence of ",
        "only the sixth to last occurence of ",
    };
    const std::int32_t mode = getParamInt("replacement mode", 0);
    if (mode < 0 || mode >= static_cast<std::int32_t>(std::size(phrases)))
        return {};
    return phrases[mode];
}

std::string ReplaceTextAction::userDescriptionIgnore() const {
    return getParamInt("ignore case", 1) == 1 ? " while ignoring case." : ".";
}

} // namespace morvane
