#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

#include <array>
#include <optional>

namespace morvane {

// "MP3 rename": names music files after their tags. Of the five patterns
// ("pattern", "pattern1" ... "pattern4") the first whose tokens the file's tags
// can all fill is used; its tokens are replaced by the tag values:
//
//   artist  <Artist> <artist> <ARTIST> <Artist_sentence_case> <Artist_Capitalized>
//   album   <Album> <album> <ALBUM> <Album_sentence_case> <Album_Capitalized>
//   song    <Song> <song> <SONG> <Song_sentence_case> <Song_Capitalized>
//   tracks  <TrackNum> <0TrackNum> <NumTracks> <0NumTracks>
//   discs   <CDNum> <0CDNum> <NumCDs> <0NumCDs>
//
// (as is, lower case, upper case, sentence case, every word capitalised; a
// leading 0 pads a one-character value to two). Tags come from the shared
// attribute service; files without tags, or whose tags fill no pattern, keep
// their names.
class MP3RenameAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "MP3 rename";
    static constexpr const char* kHelpPageAddress = "https://halvard.net/morvane/help/mp3-rename";
    static constexpr std::size_t kPatternCount = 5;
    static constexpr std::size_t kPresetCount = 5;
    // The pattern keys in the order they are tried.
    static constexpr std::array<const char*, kPatternCount> kPatternKeys = {
        "pattern", "pattern1", "pattern2", "pattern3", "pattern4"};
    // A result may grow only so far (tag values can hold tokens, which are
    // replaced again); beyond this many UTF-16 units the name stays unchanged.
    static constexpr std::size_t kMaximumResultLength = 4096;

    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // Sets the five patterns to preset `entry` (0 clears them; 1-4 offer
    // fallback chains ending with the bare song title) through the key
    // interface; any other entry changes nothing. The preset menu shows entry 0
    // again afterwards.
    void selectPattern(int entry);
    static const std::array<std::array<const char*, kPatternCount>, kPresetCount>& presets();

    // Whether every token of pattern can be filled from tags: a tag that is
    // absent rules out the tokens of its key; one that is present, even empty,
    // allows them. An empty pattern (a missing key reads as one) is never usable.
    static bool allDataForPattern(const std::u16string& pattern, const plist::Dictionary& tags);

    // The pattern with every token replaced, in the fixed token order over the
    // growing text; nothing when the text would grow beyond kMaximumResultLength.
    static std::optional<std::u16string> fillPattern(const std::u16string& pattern,
                                                     const plist::Dictionary& tags);

    // The first character in upper case, all others in lower case.
    static std::u16string sentenceCase(const std::u16string& text);
    // Every word (separated by white space) with its first letter in upper
    // case and the rest in lower case.
    static std::u16string capitalized(const std::u16string& text);
    static std::u16string replaceNilWithEmptyString(const std::optional<std::u16string>& text);

    std::string helpPageAddress() const { return kHelpPageAddress; }

protected:
    std::u16string paramPattern, paramPattern1, paramPattern2, paramPattern3, paramPattern4;
};

} // namespace morvane
