#include "MRVN7x/actions/ConvertToNTFSAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"
#include "platform/PathText.h"

#include <algorithm>

namespace morvane {

namespace {
const char16_t* const reservedNames[] = {
    u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3",   u"COM4",
    u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2",   u"LPT3",
    u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9", u"CLOCK$",
};

// The filler, or "_" when it is one of the texts that place rejects.
std::u16string fillerUnless(const std::u16string& filler,
                            std::initializer_list<const char16_t*> rejected) {
    for (const char16_t* text : rejected)
        if (filler == text)
            return ConvertToNTFSAction::kDefaultFiller;
    return filler;
}
} // namespace

ConvertToNTFSAction::ConvertToNTFSAction() {
    // The repeated < and > change nothing; membership is all that matters.
    illegalCharacters = u"\"*/<>?\\|[]=+<>;:,";
    for (char16_t c = 0x01; c <= 0x1F; ++c)
        illegalCharacters += c;
    illegalCharacters += char16_t(0); // a NUL can be stored in no file name
}

plist::Dictionary ConvertToNTFSAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["filler character"] = plist::Value("_");
    return params;
}

void ConvertToNTFSAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramFillerCharacter = limitTextFieldInputTo1Character("filler character");
    if (paramFillerCharacter.size() == 1 && isIllegalCharacter(paramFillerCharacter[0])) {
        paramFillerCharacter = kDefaultFiller;
        setValueForKey("filler character", plist::Value("_"));
    }
    paramComputedFillerCharacterForLastCharacter = fillerUnless(paramFillerCharacter, {u".", u" "});
    paramComputedFillerCharacterForMakingAUniqueName =
        fillerUnless(paramFillerCharacter, {u"", u".", u" "});
    paramComputedFillerCharacterForReplacingLeadingAndTrailingSpaces =
        fillerUnless(paramFillerCharacter, {u" "});
}

bool ConvertToNTFSAction::isIllegalCharacter(char16_t unit) const {
    return illegalCharacters.find(unit) != std::u16string::npos;
}

bool ConvertToNTFSAction::isReservedName(const std::u16string& name) {
    // Every unit folds and decomposes to one unit or more, so nothing longer
    // than the longest device name can equal one.
    if (name.size() > 6)
        return false;
    for (const char16_t* reserved : reservedNames)
        if (UnicodeText::equals(name, reserved, kCaseInsensitiveSearch))
            return true;
    return false;
}

std::size_t ConvertToNTFSAction::reservedStemLength(const std::u16string& name) {
    // Windows refuses a device name with any extension ("CON.txt",
    // "NUL.tar.gz") and ignores spaces before the first dot ("AUX .log").
    std::size_t end = std::min(name.find(u'.'), name.size());
    while (end > 0 && name[end - 1] == u' ')
        --end;
    return end > 0 && isReservedName(name.substr(0, end)) ? end : 0;
}

std::u16string
ConvertToNTFSAction::recursivelyReplaceTrailingSpaces(const std::u16string& name) const {
    std::size_t end = name.size();
    while (end > 0 && name[end - 1] == u' ')
        --end;
    std::u16string result = name.substr(0, end);
    for (std::size_t i = end; i < name.size(); ++i)
        result += paramComputedFillerCharacterForReplacingLeadingAndTrailingSpaces;
    return result;
}

std::u16string
ConvertToNTFSAction::recursivelyReplaceLeadingSpaces(const std::u16string& name) const {
    std::size_t start = 0;
    while (start < name.size() && name[start] == u' ')
        ++start;
    std::u16string result;
    for (std::size_t i = 0; i < start; ++i)
        result += paramComputedFillerCharacterForReplacingLeadingAndTrailingSpaces;
    return result + name.substr(start);
}

std::u16string ConvertToNTFSAction::processTheNameOneTime(const std::u16string& name) const {
    if (const std::size_t device = reservedStemLength(name))
        return name.substr(0, device) + paramComputedFillerCharacterForMakingAUniqueName +
               name.substr(device);
    std::u16string text;
    text.reserve(name.size());
    for (char16_t unit : name) {
        if (isIllegalCharacter(unit))
            text += paramFillerCharacter;
        else
            text += unit;
    }
    text = recursivelyReplaceLeadingSpaces(recursivelyReplaceTrailingSpaces(text));
    if (text.empty())
        text = paramFillerCharacter.empty() ? std::u16string(kDefaultFiller) : paramFillerCharacter;
    if (text.back() == u'.') {
        text.pop_back();
        text += paramComputedFillerCharacterForLastCharacter;
    }
    return text;
}

std::u16string ConvertToNTFSAction::processName(const std::u16string& fragment, const std::string&,
                                                InputContext&) {
    // Every pass either settles or removes one problem at a special place
    // (a trailing dot or space, a reserved name); the bound is only a guard.
    std::u16string name = processTheNameOneTime(fragment);
    for (std::size_t pass = 0; pass <= fragment.size() + 8; ++pass) {
        std::u16string next = processTheNameOneTime(name);
        if (next == name)
            break;
        name = std::move(next);
    }
    return name;
}

} // namespace morvane
