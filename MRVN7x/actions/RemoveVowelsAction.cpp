#include "MRVN7x/actions/RemoveVowelsAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

namespace {
bool isVowelUnit(char16_t unit) {
    static const std::u16string vowels[] = {u"a", u"e", u"i", u"o", u"u", u"y"};
    const std::u16string text(1, unit);
    for (const auto& vowel : vowels)
        if (UnicodeText::equals(text, vowel, kCaseInsensitiveSearch))
            return true;
    return false;
}
} // namespace

std::u16string RemoveVowelsAction::processName(const std::u16string& fragment, const std::string&,
                                               InputContext&) {
    std::u16string result;
    result.reserve(fragment.size());
    for (const TextRange& sequence : UnicodeText::composedCharacterSequences(fragment))
        if (!isVowelUnit(fragment[sequence.location]))
            result.append(fragment, sequence.location, sequence.length);
    return result;
}

} // namespace morvane
