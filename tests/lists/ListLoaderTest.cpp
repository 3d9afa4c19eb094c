#include "MRVN7x/lists/RenameListLoader.h"
#include "MRVN7x/lists/TabDelimitedFileListLoader.h"
#include "platform/PathText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace morvane;
using morvane::test::TempDir;

namespace {

using Names = std::vector<std::u16string>;

// A load's result as one number, as the tables give it: 0 when loaded, -1 for
// a file that cannot be read, else the record at which reading stopped.
int codeOf(const ListLoadResult& result) {
    return result.loaded()                                       ? 0
           : result.status == ListLoadResult::Status::Unreadable ? -1
                                                                 : result.record;
}

struct PlainResult {
    int result;
    Names names;
};

PlainResult readPlain(const std::string& content) {
    TempDir dir("list");
    RenameListLoader loader;
    const int result = codeOf(loader.loadFromPath(dir.write("list.txt", content)));
    return {result, loader.getFileArray()};
}

struct PairResult {
    int result;
    Names paths, names;
};

PairResult readPairs(const std::string& content, bool ignoreCase = false) {
    TempDir dir("pairs");
    TabDelimitedFileListLoader loader;
    loader.setIgnoreCase(ignoreCase);
    const int result = codeOf(loader.loadFromPath(dir.write("pairs.txt", content)));
    return {result, loader.getFileArray(), loader.getNewNameArray()};
}

std::string repeat(const std::string& text, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

} // namespace

TEST(PlainList, LinesAndLineEnds) {
    struct Case {
        std::string content;
        int result;
        Names names;
    };
    const std::vector<Case> cases = {
        {"", 0, {}},
        {"\n\n  \t\n", 0, {}},
        {"one\ntwo\nthree\n", 0, {u"one", u"two", u"three"}},
        {"one\r\ntwo\r\nthree", 0, {u"one", u"two", u"three"}},
        {"one\rtwo\n\rthree", 0, {u"one", u"two", u"three"}},
        // Blank lines and leading white space are skipped; trailing spaces stay.
        {"\n\none\n\n\n  two  \n\t three\n\n", 0, {u"one", u"two  ", u"three"}},
        {"Caf\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x98\x80\n", 0, {u"Caf\u00e9 \u2014 \U0001F600"}},
        // A byte order mark at the start is not part of the first name.
        {"\xef\xbb\xbf"
         "first\nsecond",
         0,
         {u"first", u"second"}},
        // Counted as records: the blank lines do not count.
        {"Back in Black\n\n\nAC/DC\nThunderstruck\n", 2, {}},
        {"a\nb\nc\tcolumn\n", 3, {}},
        {repeat("n", 256) + "\n", 0, {std::u16string(256, u'n')}},
        {"ok\n" + repeat("n", 257) + "\n", 2, {}},
        // 256 characters are 256 UTF-16 units: 129 emoji are 258.
        {repeat("\xf0\x9f\x98\x80", 129), 1, {}},
    };
    for (const auto& c : cases) {
        const auto read = readPlain(c.content);
        EXPECT_EQ(read.result, c.result) << c.content.substr(0, 60);
        EXPECT_EQ(read.names, c.names) << c.content.substr(0, 60);
    }
}

TEST(PlainList, BytesThatAreNotUtf8StopAtTheirRecord) {
    struct Case {
        std::string content;
        int result;
    };
    const std::vector<Case> cases = {
        {"\xff", 1},
        {"one\ntw\xffo\nthree\n", 2},
        {"one\n\n\n  three\xc3\n", 2}, // a sequence cut off at the end of its line
        {"one\ntwo\nend\xe2\x82", 3},  // cut off at the end of the file
        {"one\n\xc0\xaf\n", 2},        // an overlong form of "/"
        {"one\n\xed\xa0\x80x\n", 2},   // an encoded surrogate
        {"one\ntwo\xa0\n", 2},         // a Latin-1 no-break space
    };
    for (const auto& c : cases) {
        const auto read = readPlain(c.content);
        EXPECT_EQ(read.result, c.result) << c.content;
        EXPECT_TRUE(read.names.empty());
    }
}

TEST(PlainList, SequenceAcrossTheReadChunkDecodes) {
    // White space up to one byte before the reader's 1 MiB chunk, then an emoji
    // whose four bytes straddle the chunk boundary.
    const std::string content = std::string((size_t(1) << 20) - 1, ' ') + "\xf0\x9f\x98\x80x\ny";
    const auto read = readPlain(content);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.names, (Names{u"\U0001F600x", u"y"}));
}

TEST(PlainList, FiveHundredThousandLinesAndNoMore) {
    std::string content;
    for (int i = 0; i < 500000; ++i)
        content += "n" + std::to_string(i) + "\n";
    auto read = readPlain(content);
    EXPECT_EQ(read.result, 0);
    ASSERT_EQ(read.names.size(), 500000u);
    EXPECT_EQ(read.names.back(), u"n499999");

    read = readPlain(content + "\n\none more\n");
    EXPECT_EQ(read.result, 500001);
    EXPECT_TRUE(read.names.empty());
}

TEST(PlainList, FilesThatCannotBeReadAreReportedApart) {
    TempDir dir;
    RenameListLoader loader;
    EXPECT_EQ(loader.loadFromPath(dir / "missing.txt"), ListLoadResult::unreadable());
    EXPECT_EQ(loader.loadFromPath(dir.makeFolder("folder")), ListLoadResult::unreadable());
    TabDelimitedFileListLoader pairs;
    EXPECT_EQ(pairs.loadFromPath(dir / "missing.txt"), ListLoadResult::unreadable());
    EXPECT_EQ(pairs.loadFromPath(dir / "folder"), ListLoadResult::unreadable());
}

TEST(PairList, FieldsAndTheirRules) {
    struct Case {
        std::string content;
        int result;
        Names paths, names;
    };
    const std::string longPath = "/" + repeat("p", 1023);
    const std::vector<Case> cases = {
        {"/a/b.jpg\tc.jpg\n/a/d.jpg\te.jpg\n", 0, {u"/a/b.jpg", u"/a/d.jpg"}, {u"c.jpg", u"e.jpg"}},
        // Blank lines, leading white space, white space after the tab; trailing spaces stay.
        {"\n  /a/b\t \t new name  \r\n\n\t/c/d\tx", 0, {u"/a/b", u"/c/d"}, {u"new name  ", u"x"}},
        {"/a b/c d.txt\tname\n", 0, {u"/a b/c d.txt"}, {u"name"}},
        {"relative.txt\tname\n", 1, {}, {}},                // the path needs a "/"
        {"just a name\n", 1, {}, {}},                       // no tab: not a pair list
        {"/a/b\tx\n/a/c\ty\n/a/d z\n/a/e\tw\n", 3, {}, {}}, // the third line lacks its tab
        {"/a/b\tx\n/a/c\ty/z\n", 2, {}, {}},                // "/" in the new name
        {"/a/b\tx\n/a/c\ty\tz\n", 2, {}, {}},               // a second tab
        {"/a/b\tx\n/a/c\t\n/a/d\tz\n", 2, {}, {}},          // an empty name: no joining lines
        {"/a/b\tx\n/a/c\t   \n", 2, {}, {}},                // a name of white space only
        {longPath + "\tname\n", 0, {toU16(longPath)}, {u"name"}},
        {longPath + "p\tname\n", 1, {}, {}},
        {"/a\t" + repeat("n", 256), 0, {u"/a"}, {std::u16string(256, u'n')}},
        {"/a\tok\n/b\t" + repeat("n", 257), 2, {}, {}},
        {"/a\tok\n/b\tn\xfe\n", 2, {}, {}},
    };
    for (const auto& c : cases) {
        const auto read = readPairs(c.content);
        EXPECT_EQ(read.result, c.result) << c.content.substr(0, 60);
        EXPECT_EQ(read.paths, c.paths) << c.content.substr(0, 60);
        EXPECT_EQ(read.names, c.names) << c.content.substr(0, 60);
    }
}

TEST(PairList, IgnoreCaseLowerCasesThePaths) {
    const auto read = readPairs("/Photos/\xc3\x84RGER.JPG\tNew.JPG\n/X/\xc4\xb0.txt\ty\n", true);
    ASSERT_EQ(read.result, 0);
    EXPECT_EQ(read.paths, (Names{u"/photos/\u00e4rger.jpg", u"/x/i\u0307.txt"}));
    EXPECT_EQ(read.names, (Names{u"New.JPG", u"y"})); // names keep their case
    EXPECT_EQ(readPairs("/A/B\tC\n").paths, (Names{u"/A/B"}));
}

TEST(PairList, FiveHundredThousandLinesAndNoMore) {
    std::string content;
    for (int i = 0; i < 500000; ++i)
        content += "/f/" + std::to_string(i) + "\tn\n";
    EXPECT_EQ(readPairs(content).result, 0);
    EXPECT_EQ(readPairs(content + "/f/x\tn\n").result, 500001);
}
