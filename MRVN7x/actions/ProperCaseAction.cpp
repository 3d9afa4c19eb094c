#include "MRVN7x/actions/ProperCaseAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

plist::Dictionary ProperCaseAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["matching mode"] = plist::Value(0);
    params["force to lowercase"] = plist::Value(1);
    return params;
}

void ProperCaseAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramMatchingMode = getParamInt("matching mode", 0);
    paramForceToLowerCase = getParamInt("force to lowercase", 0);
}

bool ProperCaseAction::startsNewWordAfter(char32_t c, std::int32_t matchingMode) {
    switch (matchingMode) {
    case 0:
        return UnicodeText::isWhitespaceOrNewline(c);
    case 1:
        return UnicodeText::isPunctuation(c) || UnicodeText::isWhitespaceOrNewline(c);
    case 2:
        return !UnicodeText::isLowercaseLetter(c) && !UnicodeText::isUppercaseLetter(c);
    default:
        return false;
    }
}

std::u16string ProperCaseAction::processName(const std::u16string& fragment, const std::string&,
                                             InputContext&) {
    std::u16string result;
    result.reserve(fragment.size());
    bool capitaliseNext = true;
    for (std::size_t i = 0; i < fragment.size();) {
        std::size_t length = 0;
        const char32_t c = UnicodeText::codePointAt(fragment, i, &length);
        if (capitaliseNext)
            result += UnicodeText::uppercase(c);
        else if (paramForceToLowerCase == 1)
            result += UnicodeText::lowercase(c);
        else
            result.append(fragment, i, length);
        // The class of the character as it was in the name, not of its mapping.
        capitaliseNext = startsNewWordAfter(c, paramMatchingMode);
        i += length;
    }
    return result;
}

} // namespace morvane
