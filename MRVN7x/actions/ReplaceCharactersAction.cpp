#include "MRVN7x/actions/ReplaceCharactersAction.h"

namespace morvane {

std::string ReplaceCharactersAction::replaceCharactersKey(std::size_t pair) {
    return "replace characters " + std::to_string(pair);
}

std::string ReplaceCharactersAction::withKey(std::size_t pair) {
    return "with " + std::to_string(pair);
}

std::string ReplaceCharactersAction::ignoreCaseKey(std::size_t pair) {
    return "ignore case " + std::to_string(pair);
}

plist::Dictionary ReplaceCharactersAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    for (std::size_t pair = 0; pair < kPairs; ++pair) {
        params[replaceCharactersKey(pair)] = plist::Value("");
        params[withKey(pair)] = plist::Value("");
        params[ignoreCaseKey(pair)] = plist::Value(1);
    }
    return params;
}

void ReplaceCharactersAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    for (std::size_t pair = 0; pair < kPairs; ++pair) {
        paramReplacementChars[pair] = getParamText(replaceCharactersKey(pair));
        paramWithChars[pair] = limitTextFieldInputTo1Character(withKey(pair));
        subRangeMask[pair] = searchMaskForIgnoreCase(getParamInt(ignoreCaseKey(pair), 1));
    }
}

std::u16string ReplaceCharactersAction::processName(const std::u16string& fragment,
                                                    const std::string&, InputContext&) {
    std::u16string result;
    result.reserve(fragment.size());
    for (const TextRange& range : UnicodeText::composedCharacterSequences(fragment)) {
        const std::u16string sequence = fragment.substr(range.location, range.length);
        bool replaced = false;
        for (std::size_t pair = 0; pair < kPairs && !replaced; ++pair) {
            if (UnicodeText::find(paramReplacementChars[pair], sequence, subRangeMask[pair])) {
                result += paramWithChars[pair];
                replaced = true;
            }
        }
        if (!replaced)
            result += sequence;
    }
    return result;
}

} // namespace morvane
