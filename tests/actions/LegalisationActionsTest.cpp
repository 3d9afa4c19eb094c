// Making names legal for other file systems: NTFS, DOS 8.3 and the classic
// Mac OS.
#include "MRVN7x/actions/ConvertToNTFSAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"
#include "tests/actions/ActionTestSupport.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using plist::Dictionary;
using plist::Value;
using test::escaped;
using test::renamed;

struct Case {
    const char* what;
    const char* action;
    Dictionary params;
    const char* name;
    const char* expected;
};

void runTable(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(renamed(c.action, c.params, c.name), c.expected)
            << c.action << ": " << c.what << " (name '" << c.name << "')";
}

Dictionary filler(const char* text) {
    return {{"filler character", Value(text)}};
}

TEST(LegalisationActions, ConvertToNTFS) {
    runTable({
        {"illegal characters", "Convert to NTFS", {}, "a:b?c", "a_b_c"},
        {"spaces at both ends", "Convert to NTFS", {}, " name ", "_name_"},
        {"inner spaces stay", "Convert to NTFS", {}, "a b", "a b"},
        {"a last dot", "Convert to NTFS", {}, "name.", "name_"},
        {"reserved", "Convert to NTFS", {}, "CON", "CON_"},
        {"reserved without regard to case", "Convert to NTFS", {}, "con", "con_"},
        {"reserved CLOCK$", "Convert to NTFS", {}, "Clock$", "Clock$_"},
        {"reserved with an extension", "Convert to NTFS", {}, "con.txt", "con_.txt"},
        {"reserved with several extensions", "Convert to NTFS", {}, "NUL.tar.gz", "NUL_.tar.gz"},
        {"reserved, spaces before the extension", "Convert to NTFS", {}, "Aux .log", "Aux_ .log"},
        {"reserved with an empty extension", "Convert to NTFS", {}, "COM1.", "COM1__"},
        {"a device name starting a longer stem",
         "Convert to NTFS",
         {},
         "CONSOLE.txt",
         "CONSOLE.txt"},
        {"a device name as the extension", "Convert to NTFS", {}, "notes.LPT1", "notes.LPT1"},
        {"a dot first: no stem", "Convert to NTFS", {}, ".con", ".con"},
        {"LPT10 is no device", "Convert to NTFS", {}, "LPT10", "LPT10"},
        {"all illegal", "Convert to NTFS", {}, "???", "___"},
        {"control characters", "Convert to NTFS", {}, "a\tb\x1F", "a_b_"},
        {"every listed character", "Convert to NTFS", {}, "\"*/<>?\\|[]=+;:,", "_______________"},
        {"only the last dot, then stable", "Convert to NTFS", {}, "name..", "name._"},
        {"a legal name stays", "Convert to NTFS", {}, "Straße (1).jpg", "Straße (1).jpg"},
        {"empty filler deletes", "Convert to NTFS", filler(""), "a:b", "ab"},
        {"empty filler: spaces at the ends, then the dot now last", "Convert to NTFS", filler(""),
         " name. ", "name"},
        {"empty filler: an empty result takes _", "Convert to NTFS", filler(""), ":::", "_"},
        {"empty filler: reserved", "Convert to NTFS", filler(""), "CON", "CON_"},
        {"empty filler: reserved with an extension", "Convert to NTFS", filler(""), "prn.pdf",
         "prn_.pdf"},
        {"empty filler: a space uncovered by the dot goes next pass", "Convert to NTFS", filler(""),
         "a .", "a"},
        {"empty filler: a name made only of a dot", "Convert to NTFS", filler(""), ".", "_"},
        {"empty filler: a space made legal reveals a device name", "Convert to NTFS", filler(""),
         " aux", "aux_"},
        {"dot filler", "Convert to NTFS", filler("."), "a:b:", "a.b_"},
        {"space filler", "Convert to NTFS", filler(" "), "a:b?", "a b_"},
        {"space filler at the front", "Convert to NTFS", filler(" "), "?a", "_a"},
        {"another filler", "Convert to NTFS", filler("-"), " a:b ", "-a-b-"},
        {"an illegal filler is reset", "Convert to NTFS", filler(":"), "a?b", "a_b"},
        {"a long filler is cut", "Convert to NTFS", filler("xyz"), "a?b", "axb"},
        {"an emoji filler is one character", "Convert to NTFS", filler("\xF0\x9F\x98\x80"), "a?b",
         "a\xF0\x9F\x98\x80"
         "b"},
    });
}

TEST(LegalisationActions, AnIllegalFillerIsResetInTheParameters) {
    struct Case {
        const char* stored;
        const char* after;
    };
    const Case cases[] = {{":", "_"},    {"xyz", "x"}, {"/", "_"},
                          {"\x01", "_"}, {"-", "-"},   {"", ""}};
    for (const auto& c : cases) {
        auto action = test::makeNamedAction("Convert to NTFS", filler(c.stored));
        test::renamed(*action, u"a?b");
        EXPECT_EQ(action->getParamString("filler character"), c.after) << c.stored;
    }
    // A NUL filler can be stored in no name either.
    auto action = test::makeNamedAction("Convert to NTFS");
    action->setValueForKey("filler character", Value(std::string(1, '\0')));
    EXPECT_EQ(toU8(test::renamed(*action, u"a?b")), "a_b");
    EXPECT_EQ(action->getParamString("filler character"), "_");
}

TEST(LegalisationActions, TruncateToDOSAndMacOS9) {
    const std::string fortyWithTxt = std::string(36, 'n') + ".txt";
    const std::string expectedMac = std::string(27, 'n') + ".txt";
    const std::string thirtyOne(31, 'x');
    runTable({
        {"long base and extension", "Truncate to DOS", {}, "LongFileName.jpeg", "LongFile.jpe"},
        {"the last dot splits", "Truncate to DOS", {}, "archive.tar.gz", "archive..gz"},
        {"short", "Truncate to DOS", {}, "README", "README"},
        {"long without dot", "Truncate to DOS", {}, "verylongname", "verylong"},
        {"a leading dot", "Truncate to DOS", {}, ".profile", ".pro"},
        {"a trailing dot", "Truncate to DOS", {}, "notes.", "notes."},
        {"case stays", "Truncate to DOS", {}, "MixedCase.Txt", "MixedCas.Txt"},
        {"an emoji is not split: one unit less",
         "Truncate to DOS",
         {},
         "abcdefg\xF0\x9F\x98\x80.txt",
         "abcdefg.txt"},
        {"an emoji in the extension", "Truncate to DOS", {}, "a.bc\xF0\x9F\x98\x80", "a.bc"},
        {"keeps the extension",
         "Convert to Mac OS 9",
         {},
         fortyWithTxt.c_str(),
         expectedMac.c_str()},
        {"31 units stay", "Convert to Mac OS 9", {}, thirtyOne.c_str(), thirtyOne.c_str()},
        {"the number of characters stored is ignored",
         "Convert to Mac OS 9",
         {{"number of characters", Value(3)}, {"smart", Value(0)}},
         "abcdef",
         "abcdef"},
        {"a colon stays", "Convert to Mac OS 9", {}, "a:b", "a:b"},
    });
}

bool fits83(const std::u16string& name) {
    const auto dot = name.rfind(u'.');
    if (dot == std::u16string::npos)
        return name.size() <= 8;
    return dot <= 8 && name.size() - dot - 1 <= 3;
}

TEST(LegalisationProperties, ConvertToNTFSLeavesNothingIllegalAndIsStable) {
    const char* fillers[] = {"_", "", "-", ".", " ", "x", "\xF0\x9F\x98\x80", ":", "ab"};
    const char16_t* reserved[] = {u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1",  u"COM2",
                                  u"COM3", u"COM4", u"COM5", u"COM6", u"COM7",  u"COM8",
                                  u"COM9", u"LPT1", u"LPT2", u"LPT3", u"LPT4",  u"LPT5",
                                  u"LPT6", u"LPT7", u"LPT8", u"LPT9", u"CLOCK$"};
    const std::u16string illegal = std::u16string(u"\"*/<>?\\|[]=+;:,") + char16_t(0) +
                                   u"\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E"
                                   u"\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C"
                                   u"\x1D\x1E\x1F";
    test::NameGenerator names(20240601);
    for (const char* f : fillers) {
        auto action = test::makeNamedAction("Convert to NTFS", filler(f));
        for (int i = 0; i < 800; ++i) {
            const std::u16string name = names.next();
            const std::u16string once = test::renamed(*action, name);
            SCOPED_TRACE("filler '" + std::string(f) + "', name " + escaped(name) + " -> " +
                         escaped(once));
            ASSERT_FALSE(once.empty());
            EXPECT_EQ(once.find_first_of(illegal), std::u16string::npos);
            for (const char16_t* device : reserved)
                EXPECT_FALSE(UnicodeText::equals(once, device, kCaseInsensitiveSearch));
            EXPECT_NE(once.back(), u'.');
            EXPECT_NE(once.back(), u' ');
            EXPECT_EQ(test::renamed(*action, once), once) << "a second application changed it";
        }
    }
}

TEST(LegalisationProperties, TruncateToDOSFits83AndMacOS9Fits31) {
    auto dos = test::makeNamedAction("Truncate to DOS");
    auto mac = test::makeNamedAction("Convert to Mac OS 9");
    test::NameGenerator names(8383);
    for (int i = 0; i < 4000; ++i) {
        const std::u16string name = names.next(60);
        const std::u16string short83 = test::renamed(*dos, name);
        EXPECT_TRUE(fits83(short83)) << escaped(name) << " -> " << escaped(short83);
        EXPECT_EQ(test::renamed(*dos, short83), short83) << escaped(name);
        const std::u16string classic = test::renamed(*mac, name);
        EXPECT_LE(classic.size(), 31u) << escaped(name) << " -> " << escaped(classic);
        if (name.size() <= 31) {
            EXPECT_EQ(classic, name);
        }
        // Both only cut: never half a surrogate pair, never a changed character.
        EXPECT_TRUE(PathText::isEncodable(short83)) << escaped(short83);
        EXPECT_TRUE(PathText::isEncodable(classic)) << escaped(classic);
    }
}

} // namespace
} // namespace morvane
