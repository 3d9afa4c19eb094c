#include "MRVN7x/metadata/AudioTagReader.h"

#include "tests/metadata/MetadataTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace morvane {
namespace {
using test::TempDir;
using test::testDataPath;
using Tags = std::map<std::string, std::string>;

Tags textsOf(const plist::Dictionary& dictionary) {
    Tags texts;
    for (const auto& [key, value] : dictionary)
        texts[key] =
            value.asString() ? *value.asString() : "(not a text: " + value.describe() + ")";
    return texts;
}

Tags tagsFor(const std::string& path) {
    return textsOf(AudioTagReader::tagsFor(path));
}

// A copy of an untagged MP3 file with one ID3v2 tag of the given text frames.
std::string mp3With(const TempDir& dir, const std::string& name, const Tags& frames,
                    TagLib::ID3v2::Version version, TagLib::String::Type encoding) {
    const std::string path = dir.write(name, test::readFile(testDataPath("audio/no-tags.mp3")));
    TagLib::MPEG::File file(path.c_str());
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    for (const auto& [id, text] : frames) {
        auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id.c_str(), encoding);
        frame->setText(TagLib::String(text, TagLib::String::UTF8));
        tag->addFrame(frame);
    }
    EXPECT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
    return path;
}

struct Mp4Items {
    std::vector<std::pair<std::string, std::string>> texts; // item name, text
    std::optional<std::pair<int, int>> track, disc;
};

// A copy of a real M4A file with items set (or replaced) by TagLib.
std::string m4aWith(const TempDir& dir, const std::string& name, const Mp4Items& items) {
    const std::string path = dir.write(name, test::readFile(testDataPath("audio/has-tags.m4a")));
    TagLib::MP4::File file(path.c_str());
    TagLib::MP4::Tag* tag = file.tag();
    for (const auto& [key, text] : items.texts)
        tag->setItem(key, TagLib::StringList(TagLib::String(text, TagLib::String::UTF8)));
    if (items.track)
        tag->setItem("trkn", TagLib::MP4::Item(items.track->first, items.track->second));
    if (items.disc)
        tag->setItem("disk", TagLib::MP4::Item(items.disc->first, items.disc->second));
    EXPECT_TRUE(file.save());
    return path;
}

TEST(AudioTagReaderTest, RecognisesFilesByTheirLastFourCharacters) {
    using Kind = AudioTagReader::Kind;
    const std::pair<const char*, Kind> cases[] = {
        {"/a/song.mp3", Kind::Mp3},
        {"/a/SONG.MP3", Kind::Mp3},
        {"/a/b.Mp3", Kind::Mp3},
        {".mp3", Kind::Mp3},
        {"/a/song.m4a", Kind::Mpeg4Audio},
        {"/a/song.M4P", Kind::Mpeg4Audio},
        {"/a/book.m4B", Kind::Mpeg4Audio},
        {"/a/song.wav", Kind::None},
        {"/a/song.mp4", Kind::None},
        {"/a/song.mp3 ", Kind::None},
        {"/a/song.mp3/x", Kind::None},
        {"mp3", Kind::None},
        {"", Kind::None},
        {"/a/songmp3", Kind::None},
    };
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(AudioTagReader::kindOfPath(path), kind) << path;
}

TEST(AudioTagReaderTest, SplitsMp3TrackTextsAtTheFirstSlash) {
    struct {
        const char* text;
        const char* track;    // nullptr: absent
        const char* numTrack; // nullptr: absent
    } cases[] = {
        {"3/12", "3", "12"},
        {"Track 3/12", "3", "12"},
        {"07", "07", nullptr},
        {"5/", "5/", nullptr},
        {"02/10", "02", "10"},
        {" 3 / 12 \n", "3", "12"},
        {"3/12/14", "3", "12/14"},
        {"#4 of 9", "4 of 9", nullptr},
        {"none", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"/12", "12", nullptr},
        {"\xd9\xa3/\xd9\xa1\xd9\xa2", "\xd9\xa3", "\xd9\xa1\xd9\xa2"}, // Arabic-Indic 3/12
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        plist::Dictionary tags;
        AudioTagReader::storeTrackText(c.text, tags);
        Tags expected;
        if (c.track)
            expected["track"] = c.track;
        if (c.numTrack)
            expected["numTrack"] = c.numTrack;
        EXPECT_EQ(textsOf(tags), expected);
    }
}

TEST(AudioTagReaderTest, TrimsWhiteSpaceAndLineBreaksAtBothEnds) {
    const std::pair<const char*, const char*> cases[] = {
        {"  The Band ", "The Band"},
        {"\t\r\nLive\n", "Live"},
        {"\xc2\xa0no-break\xe2\x80\xa8", "no-break"}, // U+00A0, U+2028
        {"\xe3\x80\x80wide\xc2\x85", "wide"},         // U+3000, NEL
        {"inner  space\nkept", "inner  space\nkept"},
        {" \n\t ", ""},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(AudioTagReader::trimmed(text), expected) << text;
}

struct Mp3Case {
    const char* name;
    Tags frames;
    TagLib::ID3v2::Version version;
    TagLib::String::Type encoding;
    Tags expected;
};

TEST(AudioTagReaderTest, ReadsId3v23AndId3v24Tags) {
    TempDir dir("mp3");
    const Mp3Case cases[] = {
        {"v23-utf16.mp3",
         {{"TPE1", "  The Band\n"},
          {"TALB", "\tLive \r\n"},
          {"TIT2", "opening song"},
          {"TRCK", "Track 3/12"},
          {"TPOS", "1/2"}},
         TagLib::ID3v2::v3,
         TagLib::String::UTF16,
         {{"art", "The Band"},
          {"alb", "Live"},
          {"titl", "opening song"},
          {"track", "3"},
          {"numTrack", "12"},
          {"cd", "1"},
          {"numCds", "2"}}},
        {"v24-utf8.mp3",
         {{"TPE1", "Sigur R\xc3\xb3s"},
          {"TIT2", "Gl\xc3\xb3s\xc3\xb3li"},
          {"TRCK", "07"},
          {"TPOS", "03"}},
         TagLib::ID3v2::v4,
         TagLib::String::UTF8,
         {{"art", "Sigur R\xc3\xb3s"},
          {"titl", "Gl\xc3\xb3s\xc3\xb3li"},
          {"track", "07"},
          {"cd", "3"}}},
        {"v24-latin1.mp3",
         {{"TALB", "Caf\xc3\xa9"}, {"TRCK", "5/"}},
         TagLib::ID3v2::v4,
         TagLib::String::Latin1,
         {{"alb", "Caf\xc3\xa9"}, {"track", "5/"}}},
        // A track text without digits stores nothing; a blank title is present but empty.
        {"no-digits.mp3",
         {{"TRCK", "unknown"}, {"TIT2", "   "}},
         TagLib::ID3v2::v3,
         TagLib::String::Latin1,
         {{"titl", ""}}},
        {"CAPITALS.MP3",
         {{"TPE1", "Loud"}, {"TRCK", "1/1"}},
         TagLib::ID3v2::v4,
         TagLib::String::UTF8,
         {{"art", "Loud"}, {"track", "1"}, {"numTrack", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = mp3With(dir, c.name, c.frames, c.version, c.encoding);
        EXPECT_EQ(tagsFor(path), c.expected);
    }
}

TEST(AudioTagReaderTest, OtherEndingsAndUnreadableFilesGiveNothing) {
    TempDir dir("mp3");
    const std::string tagged =
        mp3With(dir, "tagged.mp3", {{"TPE1", "Someone"}}, TagLib::ID3v2::v4, TagLib::String::UTF8);
    ASSERT_FALSE(tagsFor(tagged).empty());
    const std::string wav = dir / "tagged.wav";
    std::filesystem::copy_file(tagged, wav);
    const std::string fifo = dir / "pipe.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string paths[] = {
        wav,
        dir.write("text.mp3", "Not audio at all.\n"),
        dir.write("empty.m4a", ""),
        dir.write("text.m4b", "Not audio at all.\n"),
        dir / "missing.mp3",
        dir.makeFolder("folder.m4a"),
        fifo,
        testDataPath("audio/no-tags.mp3"),
    };
    for (const auto& path : paths)
        EXPECT_EQ(tagsFor(path), Tags()) << path;
}

struct Mp4Case {
    const char* name;
    Mp4Items items;
    Tags expected;
};

TEST(AudioTagReaderTest, ReadsMpeg4ItemsWithTheirWhole16BitNumbers) {
    TempDir dir("m4a");
    const Mp4Case cases[] = {
        {"pairs.m4a",
         {{{"\251ART", "  Test Artist \n"}, {"\251alb", "Album"}, {"\251nam", "Song"}},
          std::pair(12, 14),
          std::pair(1, 2)},
         {{"art", "Test Artist"},
          {"alb", "Album"},
          {"titl", "Song"},
          {"track", "12"},
          {"numTrack", "14"},
          {"cd", "1"},
          {"numCds", "2"}}},
        // Numbers above one byte are read whole, up to the field's 65535.
        {"wide.m4a",
         {{}, std::pair(300, 400), std::pair(256, 65535)},
         {{"art", "Test Artist"},
          {"track", "300"},
          {"numTrack", "400"},
          {"cd", "256"},
          {"numCds", "65535"}}},
        {"track-only.M4P",
         {{}, std::pair(7, 0), std::nullopt},
         {{"art", "Test Artist"}, {"track", "7"}, {"numTrack", "0"}}},
        {"audiobook.m4b",
         {{{"\251nam", "Chapter\r\n"}}, std::nullopt, std::nullopt},
         {{"art", "Test Artist"}, {"titl", "Chapter"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tagsFor(m4aWith(dir, c.name, c.items)), c.expected);
    }
}

// The oracle's texts for one sample file, turned into what the reader must give.
Tags expectedTagsFor(const test::ManifestRow& row) {
    Tags id3v1;
    for (const std::string& field : test::splitOn(row.at("exiftool_id3v1"), ";")) {
        const size_t equals = field.find('=');
        if (equals != std::string::npos)
            id3v1[field.substr(0, equals)] = field.substr(equals + 1);
    }
    const bool mp3 = AudioTagReader::kindOfPath(row.at("path")) == AudioTagReader::Kind::Mp3;
    Tags expected;
    // Of repeated frames ("piman | jzig") the first counts. An MP3 field missing
    // from the ID3v2 tag is taken from the ID3v1 tag (the album of
    // id3v1v2-combined.mp3, which exiftool shows only in its ID3v1 column).
    const std::pair<const char*, const char*> texts[] = {
        {"art", "artist"}, {"alb", "album"}, {"titl", "title"}};
    for (const auto& [key, column] : texts) {
        const std::string text = test::splitOn(row.at(std::string("exiftool_") + column), " | ")[0];
        if (!text.empty())
            expected[key] = text;
        else if (mp3 && id3v1.count(column))
            expected[key] = id3v1.at(column);
    }
    // exiftool shows MP3 texts as stored ("02/10") and MPEG-4 pairs as "N of M",
    // leaving out a count of 0. The reader keeps the MP3 text's digits as they
    // are ("02"), reads each MPEG-4 number whole (300 stays 300), and
    // stores a found pair's count even when it is 0 (ilst-is-last.m4a: "1" of 0).
    auto pair = [&](const std::string& text, const char* numberKey, const char* countKey) {
        if (text.empty())
            return;
        if (mp3) {
            const auto parts = test::splitOn(text, "/");
            expected[numberKey] =
                numberKey == std::string("cd") ? std::to_string(std::stoi(parts[0])) : parts[0];
            if (parts.size() > 1)
                expected[countKey] =
                    numberKey == std::string("cd") ? std::to_string(std::stoi(parts[1])) : parts[1];
            return;
        }
        const auto parts = test::splitOn(text, " of ");
        expected[numberKey] = std::to_string(std::stoi(parts[0]));
        expected[countKey] = std::to_string(parts.size() > 1 ? std::stoi(parts[1]) : 0);
    };
    pair(row.at("exiftool_track"), "track", "numTrack");
    pair(row.at("exiftool_disc"), "cd", "numCds");
    return expected;
}

TEST(AudioTagReaderTest, AgreesWithTheManifestOnEveryRealAudioFile) {
    int files = 0;
    for (const auto& row : test::readManifest()) {
        if (row.at("kind") != "audio")
            continue;
        ++files;
        SCOPED_TRACE(row.at("path"));
        EXPECT_EQ(tagsFor(testDataPath(row.at("path"))), expectedTagsFor(row));
    }
    EXPECT_EQ(files, 14);
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {
std::string syncsafe(std::uint32_t n) {
    return {char((n >> 21) & 0x7f), char((n >> 14) & 0x7f), char((n >> 7) & 0x7f), char(n & 0x7f)};
}
std::string plain32(std::uint32_t n) {
    return {char(n >> 24), char((n >> 16) & 0xff), char((n >> 8) & 0xff), char(n & 0xff)};
}
// A Latin-1 text frame of an ID3v2.3 (plain size) or ID3v2.4 (synchsafe size) tag.
std::string textFrame(int version, const std::string& id, const std::string& text) {
    const std::string body = '\0' + text;
    const auto size = static_cast<std::uint32_t>(body.size());
    return id + (version == 4 ? syncsafe(size) : plain32(size)) + std::string(2, '\0') + body;
}
} // namespace

// A tag larger than TagLib is given to read (the format allows 256 MiB) is
// walked frame by frame: the frames used are read, a huge one is stepped
// over, the ID3v1 tag still fills the gaps. The files are sparse.
TEST(AudioTagReaderTest, ReadsAHugeId3v2TagWithoutHoldingIt) {
    TempDir dir("mp3");
    struct Case {
        const char* name;
        int version;
        std::string extendedHeader;
    };
    const std::uint32_t tagSize = 40u << 20;
    for (const Case& c :
         {Case{"v24.mp3", 4, ""}, Case{"v23-extended.mp3", 3, plain32(6) + std::string(6, '\0')}}) {
        SCOPED_TRACE(c.name);
        std::string start = std::string("ID3") + char(c.version) + '\0' +
                            char(c.extendedHeader.empty() ? 0 : 0x40) + syncsafe(tagSize) +
                            c.extendedHeader + textFrame(c.version, "TIT2", "Big Title") +
                            textFrame(c.version, "TPE1", std::string(3u << 20, 'a')) +
                            textFrame(c.version, "TRCK", "4/9");
        std::string v1 = "TAG" + std::string(30, '\0') + "V1 Artist" + std::string(21, '\0');
        v1.resize(128, '\0');
        const std::string path = dir / c.name;
        {
            std::ofstream file(path, std::ios::binary);
            file << start;
            file.seekp(std::streamoff(10) + tagSize);
            file << "\xff\xfb\x90\x64" << std::string(400, '\0');
            file.seekp(std::streamoff(1) << 30);
            file << v1;
        }
        EXPECT_EQ(
            tagsFor(path),
            (Tags{{"titl", "Big Title"}, {"art", "V1 Artist"}, {"track", "4"}, {"numTrack", "9"}}));
    }
}

} // namespace morvane
