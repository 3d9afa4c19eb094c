#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Convert to NTFS": makes the fragment acceptable to NTFS and the Windows
// device namespace. One pass:
//   1. a reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CLOCK$,
//      compared without regard to case with the whole fragment, or with the
//      part before its first "." less the spaces at its end) gets the
//      unique-name filler after it ("CON_", "con_.txt"), and the pass ends there;
//   2. every illegal character becomes the filler (an empty filler deletes it);
//   3. the spaces at the end, then those at the front, each become the space
//      filler;
//   4. an empty text becomes the filler, or "_" when the filler is empty;
//   5. a "." at the very end becomes the last-character filler.
// Passes repeat until one changes nothing.
//
// The illegal characters are " * / < > ? \ | [ ] = + ; : , and U+0001 to
// U+001F, and also U+0000, which no file system accepts in a name. A "filler
// character" that is itself illegal is reset to "_" in the parameters.
class ConvertToNTFSAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Convert to NTFS";
    static constexpr const char16_t* kDefaultFiller = u"_";

    ConvertToNTFSAction();
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    std::u16string processTheNameOneTime(const std::u16string& name) const;
    // Each space at the end (front) becomes the space filler.
    std::u16string recursivelyReplaceTrailingSpaces(const std::u16string& name) const;
    std::u16string recursivelyReplaceLeadingSpaces(const std::u16string& name) const;

    bool isIllegalCharacter(char16_t unit) const;
    static bool isReservedName(const std::u16string& name);
    // The length of the device name that name starts with when Windows takes
    // the name for that device (alone or with any extension); 0 otherwise.
    static std::size_t reservedStemLength(const std::u16string& name);

protected:
    std::u16string illegalCharacters;
    std::u16string paramFillerCharacter = kDefaultFiller;
    std::u16string paramComputedFillerCharacterForLastCharacter = kDefaultFiller;
    std::u16string paramComputedFillerCharacterForMakingAUniqueName = kDefaultFiller;
    std::u16string paramComputedFillerCharacterForReplacingLeadingAndTrailingSpaces =
        kDefaultFiller;
};

} // namespace morvane
