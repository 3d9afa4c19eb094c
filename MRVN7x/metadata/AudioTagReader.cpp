#include "MRVN7x/metadata/AudioTagReader.h"

#include "platform/PathText.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2extendedheader.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

// The frames this reader uses.
constexpr std::array<const char*, 5> kWantedFrames = {"TPE1", "TALB", "TIT2", "TRCK", "TPOS"};

using FrameTexts = std::map<std::string, std::string>;

std::uint32_t bigEndian32(const char* bytes) {
    auto byte = [&](int i) { return std::uint32_t(static_cast<unsigned char>(bytes[i])); };
    return (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
}

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0)
            close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool read(std::uint64_t offset, char* into, size_t size) const {
        return fd_ >= 0 &&
               pread(fd_, into, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
    }
    std::uint64_t size() const {
        struct stat info {};
        return fd_ >= 0 && fstat(fd_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    }

private:
    int fd_;
};

// Tags up to this size are read by TagLib, which holds the whole tag in
// memory; a larger one (the format allows 256 MiB, and a sparse file costs its
// maker nothing) is walked frame by frame, reading only the frames used.
constexpr std::uint64_t kLargestTagForTagLib = 16u << 20;
// No text frame this reader uses is larger; a bigger one is stepped over.
constexpr std::uint64_t kLargestWantedFrame = 1u << 20;
constexpr unsigned kFrameHeaderSize = 10;

// Walks the frames of an ID3v2.3 or ID3v2.4 tag from position to its end: it
// reads each 10-byte frame header (id, size, flags), steps over empty frames,
// unwanted frame bodies and oversized ones, and lets TagLib decode each wanted
// frame not in texts yet. It ends at the padding after the last frame.
void walkFrames(const ReadOnlyFile& file, const TagLib::ID3v2::Header& header,
                std::uint64_t position, FrameTexts& texts) {
    constexpr int kMostFrames = 10000; // bounds the work on a hostile file
    const unsigned version = header.majorVersion();
    const std::uint64_t end = TagLib::ID3v2::Header::size() + std::uint64_t(header.tagSize());
    for (int frames = 0; frames < kMostFrames && position + kFrameHeaderSize <= end &&
                         texts.size() < kWantedFrames.size();
         ++frames) {
        TagLib::ByteVector bytes(kFrameHeaderSize, '\0');
        if (!file.read(position, bytes.data(), kFrameHeaderSize) || bytes[0] == '\0')
            return; // end of file, or the padding after the last frame
        // ID3v2.4 frame sizes are synchsafe, ID3v2.3 ones plain.
        const std::uint64_t size = version == 4 ? TagLib::ID3v2::SynchData::toUInt(bytes.mid(4, 4))
                                                : bigEndian32(bytes.data() + 4);
        if (position + kFrameHeaderSize + size > end)
            return;
        const std::string id(bytes.data(), 4);
        const bool wanted =
            std::find(kWantedFrames.begin(), kWantedFrames.end(), id) != kWantedFrames.end();
        if (size > 0 && size <= kLargestWantedFrame && wanted && !texts.count(id)) {
            bytes.resize(static_cast<unsigned>(kFrameHeaderSize + size));
            if (!file.read(position + kFrameHeaderSize, bytes.data() + kFrameHeaderSize, size))
                return;
            const std::unique_ptr<TagLib::ID3v2::Frame> frame(
                TagLib::ID3v2::FrameFactory::instance()->createFrame(bytes, &header));
            if (frame)
                texts[id] = utf8(frame->toString());
        }
        position += kFrameHeaderSize + size;
    }
}

// True for the tags walkFrames can read: ID3v2.2 tags and ID3v2.3 tags
// unsynchronised as a whole stay as TagLib read them.
bool walkable(const TagLib::ID3v2::Header& header) {
    const unsigned version = header.majorVersion();
    return (version == 3 && !header.unsynchronisation()) || version == 4;
}

// TagLib 1.13 gives up on the rest of an ID3v2 tag at an empty frame (size 0,
// which ID3v2 forbids but some writers emit), and with an extended header it
// drops the frames in the tag's last bytes. When a frame this reader uses is
// missing, the walk goes on from where TagLib stopped, in the tag at the start
// of the file.
void recoverMissingFrames(const std::string& path, const TagLib::ID3v2::Tag& tag,
                          FrameTexts& texts) {
    const TagLib::ID3v2::Header& header = *tag.header();
    if (!walkable(header))
        return;
    // Where TagLib stopped: after its extended header and the frames it read.
    std::uint64_t position = TagLib::ID3v2::Header::size();
    if (header.extendedHeader() && tag.extendedHeader() != nullptr &&
        tag.extendedHeader()->size() <= header.tagSize())
        position += tag.extendedHeader()->size();
    for (const TagLib::ID3v2::Frame* frame : tag.frameList())
        position += kFrameHeaderSize + frame->size();
    const std::uint64_t end = TagLib::ID3v2::Header::size() + std::uint64_t(header.tagSize());
    if (position + kFrameHeaderSize > end)
        return;
    const ReadOnlyFile file(path);
    char start[3];
    if (!file.read(0, start, sizeof start) || std::memcmp(start, "ID3", 3) != 0)
        return;
    walkFrames(file, header, position, texts);
}

// The header of an ID3v2 tag at the start of the file too large for TagLib.
std::unique_ptr<TagLib::ID3v2::Header> oversizedTagHeader(const ReadOnlyFile& file) {
    TagLib::ByteVector bytes(TagLib::ID3v2::Header::size(), '\0');
    if (!file.read(0, bytes.data(), bytes.size()) || !bytes.startsWith("ID3"))
        return nullptr;
    auto header = std::make_unique<TagLib::ID3v2::Header>(bytes);
    if (header->tagSize() <= kLargestTagForTagLib)
        return nullptr;
    return header;
}

// The wanted frames of a tag too large for TagLib, walked from its first frame.
FrameTexts oversizedTagTexts(const ReadOnlyFile& file, const TagLib::ID3v2::Header& header) {
    FrameTexts texts;
    if (!walkable(header))
        return texts;
    std::uint64_t position = TagLib::ID3v2::Header::size();
    if (header.extendedHeader()) {
        // Its size counts itself in ID3v2.4 (synchsafe), not in ID3v2.3.
        char size[4];
        if (!file.read(position, size, sizeof size))
            return texts;
        position += header.majorVersion() == 4
                        ? TagLib::ID3v2::SynchData::toUInt(TagLib::ByteVector(size, 4))
                        : std::uint64_t(bigEndian32(size)) + 4;
    }
    walkFrames(file, header, position, texts);
    return texts;
}

// An ID3v1 tag from the last 128 bytes of a file, as TagLib parses one.
class Id3v1FromBytes : public TagLib::ID3v1::Tag {
public:
    explicit Id3v1FromBytes(const TagLib::ByteVector& bytes) { parse(bytes); }
};

std::unique_ptr<TagLib::ID3v1::Tag> id3v1At(const ReadOnlyFile& file) {
    constexpr unsigned kId3v1Size = 128;
    const std::uint64_t size = file.size();
    TagLib::ByteVector bytes(kId3v1Size, '\0');
    if (size < kId3v1Size || !file.read(size - kId3v1Size, bytes.data(), kId3v1Size) ||
        !bytes.startsWith("TAG"))
        return nullptr;
    return std::make_unique<Id3v1FromBytes>(bytes);
}

// The texts of the first frame of each wanted id in the ID3v2 tag.
FrameTexts id3v2Texts(const std::string& path, const TagLib::ID3v2::Tag* tag) {
    FrameTexts texts;
    if (tag == nullptr)
        return texts;
    for (const char* id : kWantedFrames) {
        const TagLib::ID3v2::FrameList& frames = tag->frameList(id);
        if (!frames.isEmpty())
            texts[id] = utf8(frames.front()->toString());
    }
    if (texts.size() < kWantedFrames.size())
        recoverMissingFrames(path, *tag, texts);
    return texts;
}

std::optional<std::string> textOf(const FrameTexts& texts, const char* id) {
    const auto it = texts.find(id);
    if (it == texts.end())
        return std::nullopt;
    return it->second;
}

// The dictionary from the texts of the ID3v2 frames and the ID3v1 tag.
plist::Dictionary mp3TagsFrom(const FrameTexts& v2, const TagLib::ID3v1::Tag* v1) {
    plist::Dictionary tags;

    auto field = [&](const char* frameId, TagLib::String (TagLib::ID3v1::Tag::*v1Field)() const) {
        if (auto text = textOf(v2, frameId))
            return text;
        return v1 ? nonEmpty((v1->*v1Field)()) : std::nullopt;
    };
    storeTrimmed(tags, "art", field("TPE1", &TagLib::ID3v1::Tag::artist));
    storeTrimmed(tags, "alb", field("TALB", &TagLib::ID3v1::Tag::album));
    storeTrimmed(tags, "titl", field("TIT2", &TagLib::ID3v1::Tag::title));

    std::optional<std::string> trackText = textOf(v2, "TRCK");
    if (!trackText && v1 != nullptr && v1->track() > 0)
        trackText = std::to_string(v1->track());
    if (trackText)
        AudioTagReader::storeTrackText(*trackText, tags);

    if (const auto discText = textOf(v2, "TPOS"))
        storeDiscText(*discText, tags);
    return tags;
}

plist::Dictionary mp3TagsFor(const std::string& path) {
    {
        const ReadOnlyFile file(path);
        if (const auto header = oversizedTagHeader(file)) {
            const auto v1 = id3v1At(file);
            return mp3TagsFrom(oversizedTagTexts(file, *header), v1.get());
        }
    }
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid())
        return {};
    return mp3TagsFrom(id3v2Texts(path, file.hasID3v2Tag() ? file.ID3v2Tag(false) : nullptr),
                       file.hasID3v1Tag() ? file.ID3v1Tag(false) : nullptr);
}

std::optional<std::string> itemText(const TagLib::MP4::Tag* tag, const char* key) {
    if (!tag->contains(key))
        return std::nullopt;
    const TagLib::StringList values = tag->item(key).toStringList();
    if (values.isEmpty())
        return std::nullopt;
    return utf8(values.front());
}

// A pair item ("trkn", "disk"): the whole 16-bit number and count (track 300
// of 400 is 300, not its low byte 44).
void storePair(const TagLib::MP4::Tag* tag, const char* key, const char* numberKey,
               const char* countKey, plist::Dictionary& tags) {
    if (!tag->contains(key))
        return;
    const TagLib::MP4::Item::IntPair pair = tag->item(key).toIntPair();
    tags[numberKey] = std::to_string(pair.first & 0xFFFF);
    tags[countKey] = std::to_string(pair.second & 0xFFFF);
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
