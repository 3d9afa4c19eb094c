#include "MRVN7x/metadata/AudioTagReader.h"

#include "platform/PathText.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <unicode/uchar.h>

#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace morvane {
namespace {
// TagLib's diagnostics about damaged files would only repeat what the result says.
class QuietDebugListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void prepareTagLib() {
    static std::once_flag once;
    static QuietDebugListener quiet;
    std::call_once(once, [] { TagLib::setDebugListener(&quiet); });
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// White space and line breaks: the space separators, the line and paragraph
// separators, the controls TAB to CR, and NEL.
bool isWhiteSpaceOrLineBreak(char16_t c) {
    if ((c >= 0x09 && c <= 0x0D) || c == 0x85)
        return true;
    const int type = u_charType(c);
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

std::u16string trimmed16(const std::u16string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isWhiteSpaceOrLineBreak(text[begin]))
        ++begin;
    while (end > begin && isWhiteSpaceOrLineBreak(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string utf8(const TagLib::String& text) {
    return text.to8Bit(true);
}

void storeTrimmed(plist::Dictionary& tags, const char* key,
                  const std::optional<std::string>& text) {
    if (text)
        tags[key] = AudioTagReader::trimmed(*text);
}

// The text of the first ID3v2 frame with the given id, when there is one.
std::optional<std::string> firstFrameText(const TagLib::ID3v2::Tag* tag, const char* id) {
    if (tag == nullptr)
        return std::nullopt;
    const TagLib::ID3v2::FrameList& frames = tag->frameList(id);
    if (frames.isEmpty())
        return std::nullopt;
    return utf8(frames.front()->toString());
}

std::optional<std::string> nonEmpty(const TagLib::String& text) {
    if (text.isEmpty())
        return std::nullopt;
    return utf8(text);
}

// A leading decimal number of at most nine digits (after trimming).
std::optional<long> leadingNumber(const std::string& text) {
    size_t digits = 0;
    long value = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
        value = value * 10 + (text[digits++] - '0');
    if (digits == 0)
        return std::nullopt;
    return value;
}

// TPOS "n/m" (or "n"): the disc number and count as decimal text.
void storeDiscText(const std::string& text, plist::Dictionary& tags) {
    const std::string value = AudioTagReader::trimmed(text);
    const size_t slash = value.find('/');
    if (const auto number = leadingNumber(AudioTagReader::trimmed(value.substr(0, slash))))
        tags["cd"] = std::to_string(*number);
    if (slash == std::string::npos)
        return;
    if (const auto count = leadingNumber(AudioTagReader::trimmed(value.substr(slash + 1))))
        tags["numCds"] = std::to_string(*count);
}

plist::Dictionary mp3TagsFor(const std::string& path) {
    plist::Dictionary tags;
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid())
        return tags;
    const TagLib::ID3v2::Tag* v2 = file.hasID3v2Tag() ? file.ID3v2Tag(false) : nullptr;
    const TagLib::ID3v1::Tag* v1 = file.hasID3v1Tag() ? file.ID3v1Tag(false) : nullptr;

    auto field = [&](const char* frameId, TagLib::String (TagLib::ID3v1::Tag::*v1Field)() const) {
        if (auto text = firstFrameText(v2, frameId))
            return text;
        return v1 ? nonEmpty((v1->*v1Field)()) : std::nullopt;
    };
    storeTrimmed(tags, "art", field("TPE1", &TagLib::ID3v1::Tag::artist));
    storeTrimmed(tags, "alb", field("TALB", &TagLib::ID3v1::Tag::album));
    storeTrimmed(tags, "titl", field("TIT2", &TagLib::ID3v1::Tag::title));

    std::optional<std::string> trackText = firstFrameText(v2, "TRCK");
    if (!trackText && v1 != nullptr && v1->track() > 0)
        trackText = std::to_string(v1->track());
    if (trackText)
        AudioTagReader::storeTrackText(*trackText, tags);

    if (const auto discText = firstFrameText(v2, "TPOS"))
        storeDiscText(*discText, tags);
    return tags;
}

std::optional<std::string> itemText(const TagLib::MP4::Tag* tag, const char* key) {
    if (!tag->contains(key))
        return std::nullopt;
    const TagLib::StringList values = tag->item(key).toStringList();
    if (values.isEmpty())
        return std::nullopt;
    return utf8(values.front());
}

// A pair item ("trkn", "disk"): the low byte of the number and of the count.
void storePair(const TagLib::MP4::Tag* tag, const char* key, const char* numberKey,
               const char* countKey, plist::Dictionary& tags) {
    if (!tag->contains(key))
        return;
    const TagLib::MP4::Item::IntPair pair = tag->item(key).toIntPair();
    tags[numberKey] = std::to_string(pair.first & 0xFF);
    tags[countKey] = std::to_string(pair.second & 0xFF);
}

plist::Dictionary mpeg4TagsFor(const std::string& path) {
    plist::Dictionary tags;
    TagLib::MP4::File file(path.c_str(), false);
    if (!file.isValid() || file.tag() == nullptr)
        return tags;
    const TagLib::MP4::Tag* tag = file.tag();
    storeTrimmed(tags, "art", itemText(tag, "\251ART"));
    storeTrimmed(tags, "alb", itemText(tag, "\251alb"));
    storeTrimmed(tags, "titl", itemText(tag, "\251nam"));
    storePair(tag, "trkn", "track", "numTrack", tags);
    storePair(tag, "disk", "cd", "numCds", tags);
    return tags;
}
} // namespace

AudioTagReader::Kind AudioTagReader::kindOfPath(const std::string& path) {
    if (path.size() < 4)
        return Kind::None;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending)
        c = lowerAscii(c);
    if (ending == ".mp3")
        return Kind::Mp3;
    if (ending == ".m4a" || ending == ".m4p" || ending == ".m4b")
        return Kind::Mpeg4Audio;
    return Kind::None;
}

plist::Dictionary AudioTagReader::tagsFor(const std::string& path) {
    const Kind kind = kindOfPath(path);
    if (kind == Kind::None || !isRegularFile(path))
        return {};
    prepareTagLib();
    try {
        return kind == Kind::Mp3 ? mp3TagsFor(path) : mpeg4TagsFor(path);
    } catch (...) {
        return {}; // TagLib does not throw, but a hostile size can exhaust memory
    }
}

void AudioTagReader::storeTrackText(const std::string& text, plist::Dictionary& tags) {
    const std::u16string track = toU16(text);
    size_t digit = 0;
    while (digit < track.size() && !u_isdigit(track[digit]))
        ++digit;
    if (digit == track.size())
        return;
    std::u16string s = track.substr(digit);
    const size_t slash = s.find(u'/');
    if (slash != std::u16string::npos && slash + 1 < s.size()) {
        tags["numTrack"] = toU8(trimmed16(s.substr(slash + 1)));
        s.resize(slash);
    }
    tags["track"] = toU8(trimmed16(s));
}

std::string AudioTagReader::trimmed(const std::string& text) {
    return toU8(trimmed16(toU16(text)));
}

} // namespace morvane
