#include "FileListTestSupport.h"
#include "MRVN7x/filelist/SortingModeValues.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <numeric>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace morvane {
namespace {
using test::FileListFixture;

void setModificationTime(const std::string& path, time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// The entries of one folder root, files only, sorted by (mode, mode2).
std::vector<std::string> orderOf(FileListFixture& f, std::int32_t mode, std::int32_t mode2) {
    f.list.setSortingMode(mode);
    f.list.setSortingMode2(mode2);
    f.update({1, 0, 1}, false);
    return f.entries();
}

TEST(DynamicSort, NameModes) {
    struct Case {
        std::int32_t mode;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0, {"d/file1", "d/file10", "d/file2", "d/File3"}}, // text order, case ignored
        {1, {"d/File3", "d/file2", "d/file10", "d/file1"}},
        {10, {"d/file1", "d/file2", "d/File3", "d/file10"}}, // digit runs by value
        {11, {"d/file10", "d/File3", "d/file2", "d/file1"}},
    };
    FileListFixture f;
    for (const char* name : {"file10", "file2", "File3", "file1"})
        f.dir.write(std::string("d/") + name);
    f.addRoot("d");
    for (const auto& c : cases)
        EXPECT_EQ(orderOf(f, c.mode, 12), c.expected) << "mode " << c.mode;
}

TEST(DynamicSort, File2BeforeFile10UnderModeTenAndAfterUnderModeZero) {
    FileListFixture f;
    f.dir.write("d/file10.jpg");
    f.dir.write("d/file2.jpg");
    f.addRoot("d");
    f.update({1, 0, 1});
    const std::string file2 = f.dir / "d/file2.jpg";
    EXPECT_EQ(f.list.getSortingIndexForPath(file2, 10, 0, false), 1);
    EXPECT_EQ(f.list.getSortingIndexForPath(file2, 0, 0, false), 2);
}

TEST(DynamicSort, TiesAreBrokenByTheSecondMode) {
    struct Case {
        std::int32_t mode;
        std::int32_t mode2;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {0, 6, {"B/same.txt", "C/same.txt", "A/same.txt"}},
        {0, 7, {"A/same.txt", "C/same.txt", "B/same.txt"}},
        {1, 6, {"B/same.txt", "C/same.txt", "A/same.txt"}}, // equal stays equal when inverted
        {10, 6, {"B/same.txt", "C/same.txt", "A/same.txt"}},
        {0, 12, {"A/same.txt", "B/same.txt", "C/same.txt"}}, // then expansion order
        {0, 0, {"A/same.txt", "B/same.txt", "C/same.txt"}},
    };
    FileListFixture f;
    f.dir.write("A/same.txt", std::string(30, 'a'));
    f.dir.write("B/same.txt", std::string(10, 'b'));
    f.dir.write("C/same.txt", std::string(20, 'c'));
    for (const char* root : {"A", "B", "C"})
        f.addRoot(root);
    for (const auto& c : cases)
        EXPECT_EQ(orderOf(f, c.mode, c.mode2), c.expected) << c.mode << "," << c.mode2;
}

TEST(DynamicSort, TheSecondModeIsReadOnlyForEntriesThatTie) {
    FileListFixture f;
    for (const char* path : {"A/same.jpg", "B/same.jpg", "A/one.jpg", "A/two.jpg", "B/three.jpg"})
        f.dir.write(path);
    f.addRoot("A");
    f.addRoot("B");
    // Name first, EXIF date second: only the two entries named "same.jpg" are opened.
    orderOf(f, 10, 8);
    EXPECT_EQ(f.fm.readCounts().exifDates, 2u);
    // A first mode that orders nothing leaves every entry to the second.
    f.fm.invalidateCache();
    orderOf(f, 12, 8);
    EXPECT_EQ(f.fm.readCounts().exifDates, 2u + 5u);
}

TEST(DynamicSort, NamesDifferingOnlyInCaseAreTiesUnderModesZeroAndTen) {
    FileListFixture f;
    f.dir.write("X/Photo.JPG", "12345");
    f.dir.write("Y/photo.jpg", "1");
    f.addRoot("X");
    f.addRoot("Y");
    for (std::int32_t mode : {0, 10})
        EXPECT_EQ(orderOf(f, mode, 6), (std::vector<std::string>{"Y/photo.jpg", "X/Photo.JPG"}));
}

TEST(DynamicSort, UndatedEntriesFirstUnderModeEightAndLastUnderModeNine) {
    FileListFixture f;
    const std::pair<const char*, const char*> samples[] = {
        {"canon.jpg", "made/both-dates.jpg"},         // 30 May 2008
        {"fuji.jpg", "made/portrait-mm.jpg"},         // 17 August 2006
        {"kodak.jpg", "made/older.jpg"},              // 13 August 2005
        {"plain.jpg", "images/PaintTool_sample.jpg"}, // no EXIF date
        {"tiny.jpg", "images/image.jpg"},             // no EXIF at all
    };
    for (const auto& [name, sample] : samples)
        f.dir.write(std::string("photos/") + name, test::sampleBytes(sample));
    f.addRoot("photos");
    EXPECT_EQ(orderOf(f, 8, 0),
              (std::vector<std::string>{"photos/plain.jpg", "photos/tiny.jpg", "photos/kodak.jpg",
                                        "photos/fuji.jpg", "photos/canon.jpg"}));
    EXPECT_EQ(orderOf(f, 9, 0),
              (std::vector<std::string>{"photos/canon.jpg", "photos/fuji.jpg", "photos/kodak.jpg",
                                        "photos/plain.jpg", "photos/tiny.jpg"}));
}

TEST(DynamicSort, ModificationDatesAndSizes) {
    struct Case {
        std::int32_t mode;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {2, {"d/b", "d/c", "d/a"}},
        {3, {"d/a", "d/c", "d/b"}},
        {6, {"d/c", "d/a", "d/b"}},
        {7, {"d/b", "d/a", "d/c"}},
    };
    FileListFixture f;
    setModificationTime(f.dir.write("d/a", "12345"), 1300000000);
    setModificationTime(f.dir.write("d/b", std::string(100, 'x')), 1100000000);
    setModificationTime(f.dir.write("d/c", ""), 1200000000);
    f.addRoot("d");
    for (const auto& c : cases)
        EXPECT_EQ(orderOf(f, c.mode, 12), c.expected) << "mode " << c.mode;
}

TEST(DynamicSort, CreationDates) {
    FileListFixture f;
    std::vector<std::string> created;
    for (const char* name : {"z", "x", "y"}) {
        created.push_back(f.dir.write(std::string("d/") + name));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    for (size_t i = 1; i < created.size(); ++i)
        ASSERT_LT(f.fm.fileCreationDate(created[i - 1]).value(),
                  f.fm.fileCreationDate(created[i]).value());
    f.addRoot("d");
    EXPECT_EQ(orderOf(f, 4, 12), (std::vector<std::string>{"d/z", "d/x", "d/y"}));
    EXPECT_EQ(orderOf(f, 5, 12), (std::vector<std::string>{"d/y", "d/x", "d/z"}));
}

TEST(DynamicSort, PositionsWithinEachFolder) {
    FileListFixture f;
    for (const char* name : {"A/a1", "A/a2", "A/a3", "B/b1", "B/b2", "B/b3"})
        f.dir.write(name);
    f.addRoot("B");
    f.addRoot("A");
    f.update({1, 0, 1});
    struct Case {
        std::string entry;
        int overall;
        int inFolder;
        int inFolderDescending;
    };
    const std::vector<Case> cases = {
        {"A/a1", 1, 1, 3}, {"A/a2", 2, 2, 2}, {"A/a3", 3, 3, 1},
        {"B/b1", 4, 1, 3}, {"B/b2", 5, 2, 2}, {"B/b3", 6, 3, 1},
    };
    for (const auto& c : cases) {
        const std::string path = f.dir / c.entry;
        EXPECT_EQ(f.list.getSortingIndexForPath(path, 10, 0, false), c.overall) << c.entry;
        EXPECT_EQ(f.list.getSortingIndexForPath(path, 10, 0, true), c.inFolder) << c.entry;
        EXPECT_EQ(f.list.getSortingIndexForPath(path, 11, 0, true), c.inFolderDescending)
            << c.entry;
    }
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "A/none", 10, 0, false), 0);
}

TEST(DynamicSort, ModesOutsideZeroToElevenOrderNothing) {
    FileListFixture f;
    f.dir.write("d/b", "1");
    f.dir.write("d/a", "12345");
    f.dir.write("d/c", "123");
    f.addRoot("d");
    const std::vector<std::string> byName = {"d/a", "d/b", "d/c"};
    const std::vector<std::string> bySize = {"d/b", "d/c", "d/a"};
    const std::vector<std::string> expansion = {"d/a", "d/b", "d/c"}; // names in byte order
    EXPECT_EQ(orderOf(f, 12, 6), bySize);
    EXPECT_EQ(orderOf(f, -1, 6), bySize);
    EXPECT_EQ(orderOf(f, 6, -1), bySize);
    EXPECT_EQ(orderOf(f, 12, 1), (std::vector<std::string>{"d/c", "d/b", "d/a"}));
    EXPECT_EQ(orderOf(f, -1, 12), expansion);
    EXPECT_EQ(orderOf(f, 0, 99), byName);
    EXPECT_EQ(f.list.getSortingMode(), 0);
    EXPECT_EQ(f.list.getSortingMode2(), 99);

    DynamicSort& any = f.list.sortFor(12, 0);
    EXPECT_EQ(&any, &f.list.sortFor(-1, 0));
    EXPECT_EQ(&any, &f.list.sortFor(INT32_MAX, 0));
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(any.getSortingResultFor(a, b, 12), 0);
            EXPECT_EQ(any.getSortingResultFor(a, b, -1), 0);
        }
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "d/b", -1, 6, false), 1);
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "d/b", 12, 12, false), 2);
}

TEST(DynamicSort, ComparisonResults) {
    FileListFixture f;
    f.dir.write("d/a", "1");
    f.dir.write("d/b", "1");
    f.addRoot("d");
    f.update({1, 0, 1});
    const int a = f.list.internalIndexOfPath(f.dir / "d/a");
    const int b = f.list.internalIndexOfPath(f.dir / "d/b");
    DynamicSort& sort = f.list.sortFor(6, 1); // equal sizes, then names descending
    EXPECT_EQ(sort.getSortingResultFor(a, b, 0), -1);
    EXPECT_EQ(sort.getSortingResultFor(b, a, 0), 1);
    EXPECT_EQ(sort.getSortingResultFor(a, b, 1), 1);
    EXPECT_EQ(sort.getSortingResultFor(a, a, 0), 0);
    EXPECT_EQ(sort.getSortingResultFor(a, b, 6), 0);
    EXPECT_EQ(sort.getSortingResultFor(a, b, 7), 0);
    EXPECT_EQ(sort.getSortingResultFor(a, b), 1);
    EXPECT_EQ(sort.getSortingResultFor(a, 99, 0), 0); // no such entry
    EXPECT_EQ(sort.getSortingMode(), 6);
    EXPECT_EQ(sort.getSortingMode2(), 1);
}

TEST(DynamicSort, ASortObjectIsRefreshedAfterTheListChanged) {
    FileListFixture f;
    f.dir.write("d/m.txt", std::string(50, 'm'));
    f.dir.write("d/n.txt", std::string(10, 'n'));
    f.addRoot("d");
    f.list.setSortingMode(10);
    f.list.setSortingMode2(0);
    f.update({1, 0, 1});
    // A numbering action sorting by size, unlike the main sort.
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "d/m.txt", 6, 0, false), 2);
    const std::string added = f.dir.write("e.txt", std::string(20, 'e'));
    const std::string small = f.dir.write("f.txt", "");
    EXPECT_EQ(f.list.getSortingIndexForPath(added, 6, 0, false), 0); // not yet an entry
    f.addRoot("e.txt");
    f.addRoot("f.txt");
    f.list.update();
    EXPECT_TRUE(f.list.sortFor(6, 0).isDirty());
    EXPECT_FALSE(f.list.getMainSort().isDirty());
    EXPECT_EQ(f.list.getSortingIndexForPath(small, 6, 0, false), 1);
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "d/n.txt", 6, 0, false), 2);
    EXPECT_EQ(f.list.getSortingIndexForPath(added, 6, 0, false), 3);
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "d/m.txt", 6, 0, false), 4);
    EXPECT_FALSE(f.list.sortFor(6, 0).isDirty());
}

TEST(DynamicSort, SortObjectsAreMadeOnlyWhenUsed) {
    FileListFixture f;
    f.dir.write("d/a");
    f.addRoot("d");
    EXPECT_EQ(f.list.allocatedSortCount(), 0);
    f.update({1, 0, 1});
    EXPECT_EQ(f.list.allocatedSortCount(), 1); // the main sort
    f.list.getSortingIndexForPath(f.dir / "d/a", 2, 3, true);
    f.list.getSortingIndexForPath(f.dir / "d/a", 2, 3, false);
    EXPECT_EQ(f.list.allocatedSortCount(), 2);
    f.list.update();
    EXPECT_EQ(f.list.allocatedSortCount(), 2);
    EXPECT_TRUE(f.list.sortFor(2, 3).isDirty());
    EXPECT_TRUE(f.list.sortFor(2, 3).indexList().size() == 1);
}

TEST(DynamicSort, NamesThatAreNotUtf8StillSort) {
    FileListFixture f;
    f.dir.write("d/caf\xE9.txt");
    f.dir.write("d/cafe.txt");
    f.dir.write("d/Caf\xC3\xA9 2.txt");
    f.addRoot("d");
    for (std::int32_t mode : {0, 1, 10, 11}) {
        const auto order = orderOf(f, mode, 12);
        EXPECT_EQ(order.size(), 3u);
        EXPECT_EQ(std::set<std::string>(order.begin(), order.end()).size(), 3u);
    }
}

// The order every sort object computes must be the stable sort of the
// expansion order under its own pairwise comparison, and the positions per
// folder must count along that order.
TEST(DynamicSort, AgreesWithAStableSortByPairwiseComparison) {
    FileListFixture f;
    std::mt19937 random(5);
    const char* stems[] = {"img", "IMG", "Img_", "photo", "a", "b10", "b9", "B2"};
    for (int i = 0; i < 120; ++i) {
        const std::string folder = "t/" + std::to_string(random() % 4);
        const std::string name = std::string(stems[random() % 8]) + std::to_string(random() % 12);
        const std::string path =
            f.dir.write(folder + "/" + name + ".txt", std::string(random() % 4, 'x'));
        setModificationTime(path, 1000000000 + static_cast<time_t>(random() % 5));
    }
    f.addRoot("t");
    f.update({1, 1, 1}, false);
    const int n = f.list.count();
    ASSERT_GT(n, 50);
    const std::vector<std::int32_t> modes = {0, 1, 2, 3, 4, 6, 7, 8, 10, 11, 12, -1};
    for (std::int32_t mode : modes) {
        for (std::int32_t mode2 : {0, 3, 6, 11, 12}) {
            DynamicSort& sort = f.list.sortFor(mode, mode2);
            std::vector<std::int32_t> expected(static_cast<size_t>(n));
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(),
                             [&](int a, int b) { return sort.getSortingResultFor(a, b) < 0; });
            ASSERT_EQ(sort.indexList(), expected) << mode << "," << mode2;
            std::map<std::string, int> counters;
            for (const std::int32_t index : expected) {
                const std::string folder =
                    PathText::folderOf(std::string(f.list.pathAtInternalIndex(index)));
                ASSERT_EQ(sort.localIndexList()[static_cast<size_t>(index)], counters[folder]++);
            }
        }
    }
}

// A long list has its name keys made and sorted by two threads: its ranks
// must order every pair as the comparison of those two names alone does,
// across the halves too, and names that tie share a rank.
TEST(DynamicSort, ALongListIsRankedAsEachPairCompares) {
    std::vector<std::string> paths;
    for (int i = 0; i < 70000; ++i)
        paths.push_back("/d/" + std::string(i % 3 ? "photo " : "Photo ") +
                        std::to_string(i * 7919 % 70000) + (i % 5 ? ".jpg" : ".JPG"));
    const auto pathAt = [&](size_t i) -> const std::string& { return paths[i]; };
    FileManager fm;
    NaturalNameCollator collator;
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> pick(0, paths.size() - 1);
    for (const std::int32_t mode : {0, 1, 10, 11}) {
        const auto ranks = SortingModeValues(mode, paths.size(), pathAt, fm, collator).ranks();
        for (int k = 0; k < 2000; ++k) {
            const size_t pair[2] = {pick(random), pick(random)};
            const auto pairAt = [&](size_t i) -> const std::string& { return paths[pair[i]]; };
            const int alone = SortingModeValues(mode, 2, pairAt, fm, collator).compare(0, 1);
            const auto rankA = ranks[pair[0]], rankB = ranks[pair[1]];
            ASSERT_EQ(alone, rankA < rankB ? -1 : (rankA > rankB ? 1 : 0))
                << "mode " << mode << ": " << paths[pair[0]] << " / " << paths[pair[1]];
        }
    }
}

} // namespace
} // namespace morvane
