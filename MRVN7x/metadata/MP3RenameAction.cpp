#include "MRVN7x/metadata/MP3RenameAction.h"

#include "MRVN7x/actions/FileInformation.h"
#include "platform/PathText.h"

#include <unicode/locid.h>
#include <unicode/stringoptions.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <string_view>

namespace morvane {

namespace {

enum class Form { AsIs, Lower, Upper, Sentence, Capitalized, Padded };

struct Token {
    std::u16string_view text;
    const char* key;
    Form form;
};

// Every token in the order of replacement.
constexpr Token kTokens[] = {
    {u"<Artist>", "art", Form::AsIs},
    {u"<artist>", "art", Form::Lower},
    {u"<ARTIST>", "art", Form::Upper},
    {u"<Artist_sentence_case>", "art", Form::Sentence},
    {u"<Artist_Capitalized>", "art", Form::Capitalized},
    {u"<Album>", "alb", Form::AsIs},
    {u"<album>", "alb", Form::Lower},
    {u"<ALBUM>", "alb", Form::Upper},
    {u"<Album_sentence_case>", "alb", Form::Sentence},
    {u"<Album_Capitalized>", "alb", Form::Capitalized},
    {u"<Song>", "titl", Form::AsIs},
    {u"<song>", "titl", Form::Lower},
    {u"<SONG>", "titl", Form::Upper},
    {u"<Song_sentence_case>", "titl", Form::Sentence},
    {u"<Song_Capitalized>", "titl", Form::Capitalized},
    {u"<NumTracks>", "numTrack", Form::AsIs},
    {u"<TrackNum>", "track", Form::AsIs},
    {u"<0NumTracks>", "numTrack", Form::Padded},
    {u"<0TrackNum>", "track", Form::Padded},
    {u"<NumCDs>", "numCds", Form::AsIs},
    {u"<CDNum>", "cd", Form::AsIs},
    {u"<0NumCDs>", "numCds", Form::Padded},
    {u"<0CDNum>", "cd", Form::Padded},
};

// What rules a pattern out when a tag is absent. The disc count is tested by
// the beginning of its token, so any token that starts with "<NumCDs" counts.
struct Requirement {
    const char* key;
    std::vector<std::u16string> texts;
};

const std::vector<Requirement>& requirements() {
    static const std::vector<Requirement> table = {
        {"art",
         {u"<Artist>", u"<artist>", u"<ARTIST>", u"<Artist_sentence_case>",
          u"<Artist_Capitalized>"}},
        {"alb",
         {u"<Album>", u"<album>", u"<ALBUM>", u"<Album_sentence_case>", u"<Album_Capitalized>"}},
        {"titl", {u"<Song>", u"<song>", u"<SONG>", u"<Song_sentence_case>", u"<Song_Capitalized>"}},
        {"track", {u"<TrackNum>", u"<0TrackNum>"}},
        {"numTrack", {u"<NumTracks>", u"<0NumTracks>"}},
        {"cd", {u"<CDNum>", u"<0CDNum>"}},
        {"numCds", {u"<NumCDs", u"<0NumCDs>"}},
    };
    return table;
}

icu::UnicodeString unicodeOf(const std::u16string& text) {
    return icu::UnicodeString(text.data(), static_cast<int32_t>(text.size()));
}

std::u16string textOf(const icu::UnicodeString& text) {
    return std::u16string(text.getBuffer(), static_cast<std::size_t>(text.length()));
}

std::u16string lowercased(const std::u16string& text) {
    return textOf(unicodeOf(text).toLower(icu::Locale::getRoot()));
}

std::u16string uppercased(const std::u16string& text) {
    return textOf(unicodeOf(text).toUpper(icu::Locale::getRoot()));
}

// One word titlecased as a whole: its first letter (or digit) in title case,
// everything else in lower case.
std::u16string titlecasedWord(const std::u16string& word) {
    return textOf(
        unicodeOf(word).toTitle(nullptr, icu::Locale::getRoot(), U_TITLECASE_WHOLE_STRING));
}

std::u16string padded(const std::u16string& value) {
    const bool oneCharacter =
        !value.empty() && u_countChar32(value.data(), static_cast<int32_t>(value.size())) == 1;
    return oneCharacter ? u"0" + value : value;
}

std::optional<std::u16string> tagText(const plist::Dictionary& tags, const char* key) {
    const plist::Value* value = plist::find(tags, key);
    if (!value)
        return std::nullopt;
    if (const std::string* text = value->asString())
        return toU16(*text);
    if (const auto number = value->numberValue())
        return toU16(std::to_string(*number));
    return std::u16string();
}

std::u16string inForm(const std::u16string& value, Form form) {
    switch (form) {
    case Form::Lower:
        return lowercased(value);
    case Form::Upper:
        return uppercased(value);
    case Form::Sentence:
        return MP3RenameAction::sentenceCase(value);
    case Form::Capitalized:
        return MP3RenameAction::capitalized(value);
    case Form::Padded:
        return padded(value);
    case Form::AsIs:
        break;
    }
    return value;
}

// Replaces every occurrence of token (left to right, not overlapping, the
// inserted text not searched again). False, with text untouched, when the
// result would be longer than limit.
bool replaceAll(std::u16string& text, std::u16string_view token, const std::u16string& value,
                std::size_t limit) {
    std::size_t count = 0;
    for (auto at = text.find(token); at != std::u16string::npos;
         at = text.find(token, at + token.size()))
        ++count;
    if (count == 0)
        return true;
    const std::size_t kept = text.size() - count * token.size();
    if (!value.empty() && count > (limit - std::min(limit, kept)) / value.size())
        return false;
    std::u16string result;
    result.reserve(kept + count * value.size());
    std::size_t from = 0;
    for (auto at = text.find(token); at != std::u16string::npos; at = text.find(token, from)) {
        result.append(text, from, at - from);
        result += value;
        from = at + token.size();
    }
    result.append(text, from, std::u16string::npos);
    text = std::move(result);
    return true;
}

} // namespace

plist::Dictionary MP3RenameAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["pattern"] = plist::Value("<Artist> - <Album> - <Song>");
    params["pattern1"] = plist::Value("<Artist> - <Song>");
    params["pattern2"] = plist::Value("<Song>");
    params["pattern3"] = plist::Value("");
    params["pattern4"] = plist::Value("");
    return params;
}

void MP3RenameAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramPattern = getParamText("pattern");
    paramPattern1 = getParamText("pattern1");
    paramPattern2 = getParamText("pattern2");
    paramPattern3 = getParamText("pattern3");
    paramPattern4 = getParamText("pattern4");
}

const std::array<std::array<const char*, MP3RenameAction::kPatternCount>,
                 MP3RenameAction::kPresetCount>&
MP3RenameAction::presets() {
    static const std::array<std::array<const char*, kPatternCount>, kPresetCount> table = {{
        {"", "", "", "", ""},
        {"<Artist> - <Song>", "<Song>", "", "", ""},
        {"<Artist> - <Album> - <Song>", "<Artist> - <Song>", "<Song>", "", ""},
        {"<Artist> - <Album> - <Song> (<TrackNum>)", "<Artist> - <Album> - <Song>",
         "<Artist> - <Song>", "<Song>", ""},
        {"<Artist> - <Album> - <Song> (<TrackNum>/<NumTracks>)",
         "<Artist> - <Album> - <Song> (<TrackNum>)", "<Artist> - <Album> - <Song>",
         "<Artist> - <Song>", "<Song>"},
    }};
    return table;
}

void MP3RenameAction::selectPattern(int entry) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= kPresetCount)
        return;
    const auto& preset = presets()[static_cast<std::size_t>(entry)];
    for (std::size_t i = 0; i < kPatternCount; ++i)
        setValueForKey(kPatternKeys[i], plist::Value(preset[i]));
}

bool MP3RenameAction::allDataForPattern(const std::u16string& pattern,
                                        const plist::Dictionary& tags) {
    if (pattern.empty())
        return false;
    for (const Requirement& requirement : requirements()) {
        if (plist::find(tags, requirement.key))
            continue;
        for (const std::u16string& text : requirement.texts)
            if (pattern.find(text) != std::u16string::npos)
                return false;
    }
    return true;
}

std::optional<std::u16string> MP3RenameAction::fillPattern(const std::u16string& pattern,
                                                           const plist::Dictionary& tags) {
    std::u16string text = pattern;
    for (const Token& token : kTokens) {
        if (text.find(token.text) == std::u16string::npos)
            continue;
        const std::u16string value =
            inForm(replaceNilWithEmptyString(tagText(tags, token.key)), token.form);
        if (!replaceAll(text, token.text, value, kMaximumResultLength))
            return std::nullopt;
    }
    return text;
}

std::u16string MP3RenameAction::processName(const std::u16string& fragment, const std::string& path,
                                            InputContext& input) {
    prepareParametersIfChanged();
    const plist::Dictionary tags = input.files().mp3TagsFor(path);
    if (tags.empty())
        return fragment;
    for (const std::u16string* pattern :
         {&paramPattern, &paramPattern1, &paramPattern2, &paramPattern3, &paramPattern4}) {
        if (allDataForPattern(*pattern, tags))
            return fillPattern(*pattern, tags).value_or(fragment);
    }
    return fragment;
}

std::u16string MP3RenameAction::sentenceCase(const std::u16string& text) {
    if (text.empty())
        return text;
    const icu::UnicodeString unicode = unicodeOf(text);
    const int32_t firstLength = U16_LENGTH(unicode.char32At(0));
    icu::UnicodeString first(unicode, 0, firstLength);
    icu::UnicodeString rest(unicode, firstLength);
    first.toUpper(icu::Locale::getRoot());
    rest.toLower(icu::Locale::getRoot());
    return textOf(first + rest);
}

std::u16string MP3RenameAction::capitalized(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        // A run of white space is copied; a run of anything else is one word.
        std::size_t end = i;
        bool space = false;
        while (end < text.size()) {
            UChar32 c;
            std::size_t next = end;
            U16_NEXT(text.data(), next, text.size(), c);
            const bool isSpace = u_isUWhiteSpace(c);
            if (end == i)
                space = isSpace;
            else if (isSpace != space)
                break;
            end = next;
        }
        const std::u16string run = text.substr(i, end - i);
        out += space ? run : titlecasedWord(run);
        i = end;
    }
    return out;
}

std::u16string
MP3RenameAction::replaceNilWithEmptyString(const std::optional<std::u16string>& text) {
    return text.value_or(std::u16string());
}

} // namespace morvane
