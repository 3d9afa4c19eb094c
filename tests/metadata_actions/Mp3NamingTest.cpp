#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/engine/DiskRenamer.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/metadata/MP3RenameAction.h"
#include "platform/PathText.h"
#include "tests/metadata_actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {
using test::applyAction;
using test::copyOfSample;
using test::Mp4Tags;
using test::TempDir;
using test::writeId3v2;
using test::writeMp4;

std::unique_ptr<MP3RenameAction> actionWithPatterns(const std::vector<std::string>& patterns) {
    auto action = makeAction<MP3RenameAction>();
    for (size_t i = 0; i < MP3RenameAction::kPatternCount; ++i)
        action->setValueForKey(MP3RenameAction::kPatternKeys[i],
                               plist::Value(i < patterns.size() ? patterns[i] : ""));
    return action;
}

const std::map<std::string, std::string> kBandTags = {
    {"TPE1", "The Band"}, {"TALB", "Live"}, {"TIT2", "opening song"}, {"TRCK", "3/12"}};

TEST(Mp3Naming, TrackTitleAndArtistOfAnMp3File) {
    TempDir dir("mp3");
    const std::string song = copyOfSample(dir, "audio/no-tags.mp3", "track.mp3");
    ASSERT_TRUE(writeId3v2(song, kBandTags));
    auto action = actionWithPatterns({"<0TrackNum> <Song_Capitalized> - <ARTIST>"});
    action->setValueForKey("fragmentSelection", plist::Value(1));
    EXPECT_EQ(applyAction(*action, song), u"03 Opening Song - THE BAND.mp3");
}

TEST(Mp3Naming, FallsBackToThePatternTheTagsCanFill) {
    TempDir dir("mp3");
    const std::string song = copyOfSample(dir, "audio/no-tags.mp3", "track.mp3");
    auto tags = kBandTags;
    tags.erase("TALB");
    ASSERT_TRUE(writeId3v2(song, tags));
    auto action = actionWithPatterns({"<Artist> - <Album> - <Song>", "<Artist> - <Song>"});
    EXPECT_EQ(applyAction(*action, song), u"The Band - opening song");
}

TEST(Mp3Naming, SentenceCaseAndCapitalisation) {
    TempDir dir("mp3");
    const std::string song = copyOfSample(dir, "audio/no-tags.mp3", "track.mp3");
    ASSERT_TRUE(writeId3v2(song, {{"TIT2", "oPENING sONG"}, {"TPE1", "élan VITAL"}}));
    auto action = actionWithPatterns({"<Song_sentence_case>|<Artist_sentence_case>|<song>|"
                                      "<ARTIST>|<Artist_Capitalized>"});
    EXPECT_EQ(applyAction(*action, song),
              u"Opening song|Élan vital|opening song|ÉLAN VITAL|Élan Vital");
}

TEST(Mp3Naming, CaseFunctions) {
    const std::pair<std::u16string, std::u16string> sentences[] = {
        {u"oPENING sONG", u"Opening song"},
        {u"", u""},
        {u"x", u"X"},
        {u"ßig", u"SSig"},
        {u"'twas", u"'twas"},
        {u"\U0001D41Aabc", u"\U0001D41Aabc"}, // a mathematical letter has no case
    };
    for (const auto& [in, out] : sentences)
        EXPECT_EQ(MP3RenameAction::sentenceCase(in), out) << toU8(in);
    const std::pair<std::u16string, std::u16string> words[] = {
        {u"the BAND's  (live)\tset", u"The Band's  (Live)\tSet"},
        {u"  leading and trailing  ", u"  Leading And Trailing  "},
        {u"12th street RAG", u"12th Street Rag"},
        {u"rock-n-roll", u"Rock-n-roll"},
        {u"", u""},
    };
    for (const auto& [in, out] : words)
        EXPECT_EQ(MP3RenameAction::capitalized(in), out) << toU8(in);
    EXPECT_EQ(MP3RenameAction::replaceNilWithEmptyString(std::nullopt), u"");
    EXPECT_EQ(MP3RenameAction::replaceNilWithEmptyString(u"x"), u"x");
}

TEST(Mp3Naming, OnlyMp3AndMpeg4AudioNamesAreRead) {
    TempDir dir("mp3");
    const std::string wav = copyOfSample(dir, "audio/no-tags.mp3", "track.wav");
    const std::string upper = copyOfSample(dir, "audio/no-tags.mp3", "TRACK.MP3");
    ASSERT_TRUE(writeId3v2(wav, kBandTags));
    ASSERT_TRUE(writeId3v2(upper, kBandTags));
    auto action = makeAction<MP3RenameAction>();
    EXPECT_EQ(applyAction(*action, wav), u"track.wav");
    EXPECT_EQ(applyAction(*action, upper), u"The Band - Live - opening song");
}

TEST(Mp3Naming, Mpeg4TrackPairWithItsSlashStoredAsAColon) {
    TempDir dir("mp4");
    const std::string song = copyOfSample(dir, "audio/has-tags.m4a", "song.m4a");
    ASSERT_TRUE(writeMp4(song, {"The Band", "Live", "opening song", {{12, 14}}, {}}));
    auto action = actionWithPatterns({"<TrackNum>/<NumTracks>"});
    action->setValueForKey("fragmentSelection", plist::Value(1));
    const std::u16string newName = applyAction(*action, song);
    EXPECT_EQ(newName, u"12/14.m4a");

    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    settings->setValueForKey("renameMode", plist::Value(3));
    DiskRenamer renamer(*settings);
    const std::string newPath = dir / *PathText::fileNameFromDisplayName(newName);
    EXPECT_EQ(newPath, dir / "12:14.m4a");
    ASSERT_TRUE(renamer.renameCurrentName(u"song.m4a", song, newName, newPath));
    EXPECT_TRUE(test::pathExists(dir / "12:14.m4a"));
    EXPECT_FALSE(test::pathExists(song));
    EXPECT_EQ(PathText::displayNameOfPath(newPath), u"12/14.m4a");
}

// Numbers above 255 are read whole; keeping the low byte named track 300 "44".
TEST(Mp3Naming, Mpeg4NumbersAreReadWhole) {
    TempDir dir("mp4");
    const std::string song = copyOfSample(dir, "audio/has-tags.m4a", "song.m4a");
    ASSERT_TRUE(writeMp4(song, {"The Band", {}, "opening song", {{300, 14}}, {{2, 3}}}));
    auto action =
        actionWithPatterns({"<Album> <TrackNum>", "<TrackNum> of <0NumTracks>, disc <0CDNum>"});
    EXPECT_EQ(applyAction(*action, song), u"300 of 14, disc 02");
}

TEST(Mp3Naming, AllPatternsEmptyKeepEveryName) {
    TempDir dir("mp3");
    const std::string song = copyOfSample(dir, "audio/no-tags.mp3", "track.mp3");
    ASSERT_TRUE(writeId3v2(song, kBandTags));
    auto action = makeAction<MP3RenameAction>();
    action->selectPattern(0);
    EXPECT_EQ(applyAction(*action, song), u"track.mp3");
    for (const char* sample : {"audio/silence-44-s.mp3", "audio/infloop.m4a"})
        EXPECT_EQ(applyAction(*action, test::testDataPath(sample)),
                  PathText::displayNameOfPath(sample));
}

TEST(Mp3Naming, Presets) {
    auto action = makeAction<MP3RenameAction>();
    action->selectPattern(4);
    const std::vector<std::string> chain = {"<Artist> - <Album> - <Song> (<TrackNum>/<NumTracks>)",
                                            "<Artist> - <Album> - <Song> (<TrackNum>)",
                                            "<Artist> - <Album> - <Song>", "<Artist> - <Song>",
                                            "<Song>"};
    for (size_t i = 0; i < chain.size(); ++i)
        EXPECT_EQ(action->getParamString(MP3RenameAction::kPatternKeys[i]), chain[i]);
    action->selectPattern(1);
    EXPECT_EQ(action->getParamString("pattern"), "<Artist> - <Song>");
    EXPECT_EQ(action->getParamString("pattern1"), "<Song>");
    EXPECT_EQ(action->getParamString("pattern2"), "");
    // An entry outside the menu changes nothing.
    action->selectPattern(5);
    action->selectPattern(-1);
    EXPECT_EQ(action->getParamString("pattern"), "<Artist> - <Song>");
    action->selectPattern(0);
    for (const char* key : MP3RenameAction::kPatternKeys)
        EXPECT_EQ(action->getParamString(key), "");
    // Each preset ends with the bare song title, dropping the most specific part first.
    for (size_t entry = 1; entry < MP3RenameAction::kPresetCount; ++entry) {
        const auto& preset = MP3RenameAction::presets()[entry];
        const auto last = std::find(preset.begin(), preset.end(), std::string_view("")) - 1;
        EXPECT_STREQ(*last, "<Song>");
    }
}

struct UsabilityCase {
    const char16_t* pattern;
    plist::Dictionary tags;
    bool usable;
};

TEST(Mp3Naming, UsabilityCountsPresenceNotContent) {
    const plist::Dictionary full = {{"art", plist::Value("A")},      {"alb", plist::Value("B")},
                                    {"titl", plist::Value("C")},     {"track", plist::Value("1")},
                                    {"numTrack", plist::Value("9")}, {"cd", plist::Value("1")},
                                    {"numCds", plist::Value("2")}};
    const plist::Dictionary emptyAlbum = {{"art", plist::Value("A")}, {"alb", plist::Value("")}};
    const plist::Dictionary artistOnly = {{"art", plist::Value("A")}};
    const UsabilityCase cases[] = {
        {u"", full, false},
        {u"plain text", artistOnly, true},
        {u"<Artist> - <Album>", emptyAlbum, true},
        {u"<Artist> - <ALBUM>", artistOnly, false},
        {u"<album_sentence_case>", artistOnly, true}, // not a token
        {u"<Album_sentence_case>", artistOnly, false},
        {u"<Song_Capitalized>", artistOnly, false},
        {u"<0TrackNum>", artistOnly, false},
        {u"<TrackNum>", full, true},
        {u"<0NumTracks>", artistOnly, false},
        {u"<CDNum>", artistOnly, false},
        {u"<NumCDs>", artistOnly, false},
        {u"<NumCDsTotal>", artistOnly, false}, // anything that starts with "<NumCDs"
        {u"<0NumCDs>", artistOnly, false},
        {u"<0NumCDs>/<NumCDs>/<0CDNum>/<CDNum>", full, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MP3RenameAction::allDataForPattern(c.pattern, c.tags), c.usable)
            << toU8(c.pattern);
}

TEST(Mp3Naming, TokensAreReplacedInOrderOverTheGrowingText) {
    const plist::Dictionary tags = {{"art", plist::Value("<Song> & <0CDNum>")},
                                    {"alb", plist::Value("<Artist>")},
                                    {"titl", plist::Value("title")},
                                    {"track", plist::Value("7")},
                                    {"numTrack", plist::Value("12")},
                                    {"cd", plist::Value("5/")}};
    // The artist's own tokens come later in the order and are replaced too;
    // the album's "<Artist>" comes after the artist tokens and stays.
    EXPECT_EQ(MP3RenameAction::fillPattern(u"<Artist> | <Album>", tags), u"title & 5/ | <Artist>");
    EXPECT_EQ(MP3RenameAction::fillPattern(u"<0TrackNum>/<0NumTracks> <TrackNum><TrackNum>", tags),
              u"07/12 77");
    // Absent tags are replaced by nothing.
    EXPECT_EQ(MP3RenameAction::fillPattern(u"[<NumCDs>][<0NumCDs>]", tags), u"[][]");
}

TEST(Mp3Naming, TagsFullOfTokensCannotBlowUpTheName) {
    std::string manyAlbums, manySongs;
    for (int i = 0; i < 200; ++i) {
        manyAlbums += "<Album>";
        manySongs += "<Song>";
    }
    const plist::Dictionary tags = {{"art", plist::Value(manyAlbums)},
                                    {"alb", plist::Value(manySongs)},
                                    {"titl", plist::Value(std::string(200, 'x'))}};
    // 200 x 200 x 200 characters: far beyond any name.
    EXPECT_EQ(MP3RenameAction::fillPattern(u"<Artist>", tags), std::nullopt);
    TempDir dir("mp3");
    const std::string song = copyOfSample(dir, "audio/no-tags.mp3", "track.mp3");
    ASSERT_TRUE(writeId3v2(
        song, {{"TPE1", manyAlbums}, {"TALB", manySongs}, {"TIT2", std::string(200, 'x')}}));
    auto action = actionWithPatterns({"<Artist>"});
    EXPECT_EQ(applyAction(*action, song), u"track.mp3");
}

TEST(Mp3Naming, RealAudioFiles) {
    auto action = makeAction<MP3RenameAction>();
    action->selectPattern(4);
    action->setValueForKey("fragmentSelection", plist::Value(1));
    const std::pair<const char*, const char16_t*> files[] = {
        {"silence-44-s.mp3", u"piman - Quod Libet Test Data - Silence (02/10).mp3"},
        {"vbri.mp3",
         u"Basshunter - I Can Walk On Water I Can Fly - I Can Walk On Water I Can Fly (01).mp3"},
        {"id3v1v2-combined.mp3",
         u"Anais Mitchell - Hymns for the Exiled - cosmic american (3/11).mp3"},
        {"bad-POPM-frame.mp3", u"she - emit and exude - Emit and exude (4).mp3"},
        {"silence-44-s-v1.mp3", u"piman - Quod Libet Test Data - Silence (2).mp3"},
        {"itunes10.mp3", u"Artist - Album - iTunes10MP3 (1/10).mp3"},
        {"extended-header.mp3", u"Excelsis - Vo Chrieger U Drache - Druids (03).mp3"},
        {"no-tags.mp3", u"no-tags.mp3"},
        {"infloop.m4a", u"POCKET BISCUITS - Complete Singles Collection Vol.1 - Udo (6/16).m4a"},
        {"ilst-is-last.m4a",
         u"Pearl Jam - 1995-03-22 Brisbane, Australia - Entertainment Centre - Intro (1/0).m4a"},
        {"has-tags.m4a", u"has-tags.m4a"}, // only an artist: no pattern can be filled
        {"nero-chapters.m4b",
         u"Aleron Kong - The Land: Predators: A LitRPG Saga (Unabridged) - The Land: Predators: "
         u"A LitRPG Saga: Chaos Seeds, Book 7 (Unabridged).m4b"},
    };
    for (const auto& [file, expected] : files) {
        SCOPED_TRACE(file);
        EXPECT_EQ(applyAction(*action, test::testDataPath(std::string("audio/") + file)), expected);
    }
    auto numbers =
        actionWithPatterns({"<Artist> <0TrackNum>-<0NumTracks> disc <CDNum> of <NumCDs>"});
    EXPECT_EQ(applyAction(*numbers,
                          test::testDataPath("audio/derived-trkn300of400_disk2of3_has-tags.m4a")),
              u"Test Artist 300-400 disc 2 of 3");
    EXPECT_EQ(
        applyAction(*numbers, test::testDataPath("audio/derived-trkn12of14_disk1of2_has-tags.m4a")),
        u"Test Artist 12-14 disc 1 of 2");
    EXPECT_EQ(applyAction(*numbers, test::testDataPath("audio/infloop.m4a")),
              u"POCKET BISCUITS 06-16 disc 1 of 1");
}

TEST(Mp3Naming, RegisteredWithItsDefaults) {
    auto action = ActionFactory::create("MP3 rename");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->getParamString("pattern"), "<Artist> - <Album> - <Song>");
    EXPECT_EQ(action->getParamString("pattern1"), "<Artist> - <Song>");
    EXPECT_EQ(action->getParamString("pattern2"), "<Song>");
    EXPECT_EQ(action->getParamString("pattern3"), "");
    EXPECT_EQ(action->getParamString("pattern4"), "");
}

} // namespace
} // namespace morvane
