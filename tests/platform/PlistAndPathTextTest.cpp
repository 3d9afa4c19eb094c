#include "platform/PathText.h"
#include "platform/PlistValue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace morvane;

TEST(PlistValue, XmlRoundTripOfEveryKind) {
    plist::Dictionary dict{
        {"text", plist::Value("a <b> & \"c\" é")},
        {"int", plist::Value(std::int64_t(-5000000000))},
        {"real", plist::Value(2.5)},
        {"bool", plist::Value(true)},
        {"date", plist::Value(plist::Date{86400})},
        {"data", plist::Value(plist::Data{0, 1, 255})},
        {"array", plist::Value(plist::Array{plist::Value(1), plist::Value("two")})},
        {"nested", plist::Value(plist::Dictionary{{"k", plist::Value(0)}})},
    };
    auto back = plist::fromXml(plist::toXml(plist::Value(dict)));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, plist::Value(dict));
}

TEST(PlistValue, DatesBeyondWhatTheFileHoldsAreWrittenAsTheNearest) {
    const double limit = 2147483647;
    const struct {
        double written, read;
    } cases[] = {
        {-limit - 1.5, -limit - 1}, {limit + 10, limit}, {-1e300, -limit - 1}, {1e300, limit},
        {std::nan(""), 0},          {-86400, -86400},
    };
    for (const auto& c : cases) {
        auto back = plist::fromXml(plist::toXml(plist::Value(plist::Date{c.written})));
        ASSERT_TRUE(back && back->asDate()) << c.written;
        EXPECT_NEAR(back->asDate()->secondsSinceReferenceDate, c.read, 1e-6) << c.written;
    }
}

TEST(PlistValue, GarbageDoesNotParse) {
    for (const char* text : {"", "garbage", "<plist><dict><key>a</key>", "<plist><integer>"})
        EXPECT_FALSE(plist::fromXml(text)) << text;
}

TEST(PlistValue, NumberValueReadsEveryNumericKind) {
    EXPECT_EQ(plist::Value(7).numberValue(), 7);
    EXPECT_EQ(plist::Value(true).numberValue(), 1);
    EXPECT_EQ(plist::Value(-2.9).numberValue(), -2);
    EXPECT_FALSE(plist::Value("7").numberValue());
}

TEST(PathText, BytesSurviveTheRoundTrip) {
    const std::vector<std::string> names = {"plain.txt", "caf\xc3\xa9", "\xff\xfe broken",
                                            "half \xc3", "\xed\xb0\x80 surrogate bytes",
                                            "emoji \xf0\x9f\x98\x80", "overlong \xc0\xaf",
                                            // ASCII is read eight bytes at a time: other bytes
                                            // at and across those boundaries
                                            "abcdefgh\xc3\xa9", "abcdefg\xc3\xa9h",
                                            "0123456789abcdef\xff"
                                            "0123456",
                                            "a long name in plain ASCII.txt", ""};
    for (const auto& name : names) {
        auto text = PathText::fromUtf8(name);
        auto back = PathText::toUtf8(text);
        ASSERT_TRUE(back) << name;
        EXPECT_EQ(*back, name);
    }
    EXPECT_EQ(PathText::fromUtf8("abcdefgh\xc3\xa9!"), u"abcdefgh\u00e9!");
    EXPECT_EQ(PathText::displayNameOfPath("/x/0123456789:AC:DC"), u"0123456789/AC/DC");
}

TEST(PathText, LoneSurrogatesThatAreNotBytesCannotBeWritten) {
    const std::u16string halfEmoji = u"a\xD83D";
    EXPECT_FALSE(PathText::isEncodable(halfEmoji));
    EXPECT_FALSE(PathText::toUtf8(halfEmoji));
    EXPECT_FALSE(PathText::isEncodable(std::u16string(1, char16_t(0xDC10))));
    EXPECT_TRUE(PathText::isEncodable(u"\xD83D\xDE00"));
    EXPECT_TRUE(PathText::isEncodable(PathText::fromUtf8("\xff")));
}

TEST(PathText, ColonsOnDiskAreSlashesOnScreen) {
    EXPECT_EQ(PathText::displayNameOfPath("/music/AC:DC.mp3"), u"AC/DC.mp3");
    EXPECT_EQ(PathText::displayNameOfPath("/music/folder/"), u"folder");
    EXPECT_EQ(*PathText::fileNameFromDisplayName(u"12/14 song"), "12:14 song");
    EXPECT_EQ(PathText::join("/", "x"), "/x");
}

TEST(PathText, FolderAndLastComponent) {
    struct Case {
        const char* path;
        const char* folder;
        const char* last;
    };
    const Case cases[] = {
        {"/a/b/c.txt", "/a/b", "c.txt"},
        {"/c.txt", "/", "c.txt"},
        {"/a/b/", "/a", "b"},
        {"/", "/", ""},
        {"name", ".", "name"},
        {"/a//", "/", "a"},
        {"rel/x", "rel", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathText::folderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(PathText::folderView(c.path), c.folder) << c.path;
        EXPECT_EQ(PathText::lastComponent(c.path), c.last) << c.path;
        EXPECT_EQ(PathText::join(PathText::folderOf(c.path), "n"),
                  std::string(c.folder) + (std::string(c.folder) == "/" ? "n" : "/n"));
    }
}
