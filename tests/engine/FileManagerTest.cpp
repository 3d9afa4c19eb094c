#include "MRVN7x/engine/FileManager.h"

#include "tests/support/TempDir.h"

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace morvane {
namespace {
using test::TempDir;

constexpr double kUnixToReference = 978307200.0;

std::string copyOf(const TempDir& dir, const std::string& name, const std::string& sample) {
    return dir.write(name, test::sampleBytes(sample));
}

// Rewrites the file in place: the same path, other content.
void replaceWith(const std::string& path, const std::string& sample) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << test::sampleBytes(sample);
}

bool recordsBirthTime(const std::string& path) {
    struct statx info {};
    return statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &info) == 0 &&
           (info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec != 0;
}

TEST(FileManagerTest, ReadsTheDatesAndSizeOfAFile) {
    TempDir dir("attributes");
    const std::string path = dir.write("file.txt", "hello");
    // Modified on 7 June 2005 08:09:10.5 UTC, long before it was created.
    const timespec times[2] = {{1118131750, 0}, {1118131750, 500000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    FileManager files;
    const auto attributes = files.attributesFor(path);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(attributes->modificationDate, 1118131750.5 - kUnixToReference);
    EXPECT_EQ(attributes->size, 5);
    EXPECT_FALSE(attributes->isDirectory);
    EXPECT_FALSE(attributes->isSymbolicLink);
    EXPECT_EQ(files.fileModificationDate(path), attributes->modificationDate);
    EXPECT_EQ(files.fileCreationDate(path), attributes->creationDate);
    EXPECT_EQ(files.fileLength(path), 5);
    if (recordsBirthTime(path)) {
        // The birth time: when the test wrote the file, not the date set afterwards.
        EXPECT_NEAR(attributes->creationDate, files.now(), 60.0);
    } else {
        EXPECT_EQ(attributes->creationDate, attributes->modificationDate);
    }
}

TEST(FileManagerTest, DescribesLinksAndFoldersThemselves) {
    TempDir dir("attributes");
    const std::string target = dir.write("a-rather-long-target-name.txt", std::string(5000, 'x'));
    const std::string link = dir / "link";
    const std::string dangling = dir / "dangling";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(symlink("nowhere", dangling.c_str()), 0);
    FileManager files;
    const auto linked = files.attributesFor(link);
    ASSERT_TRUE(linked);
    EXPECT_TRUE(linked->isSymbolicLink);
    EXPECT_EQ(linked->size, static_cast<std::int64_t>(target.size())); // the link's own text
    const auto broken = files.attributesFor(dangling);
    ASSERT_TRUE(broken);
    EXPECT_TRUE(broken->isSymbolicLink);
    const auto folder = files.attributesFor(dir.makeFolder("folder"));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->isDirectory);
}

TEST(FileManagerTest, AMissingItemHasNoDatesSizeZeroAndLeavesNothingCached) {
    TempDir dir("missing");
    const std::string path = dir / "later.txt";
    FileManager files;
    EXPECT_FALSE(files.attributesFor(path));
    EXPECT_FALSE(files.fileModificationDate(path));
    EXPECT_FALSE(files.fileCreationDate(path));
    EXPECT_EQ(files.fileLength(path), 0);
    EXPECT_EQ(files.readCounts().attributes, 4u); // every query looked again

    dir.write("later.txt", "now here");
    EXPECT_EQ(files.fileLength(path), 8);
}

TEST(FileManagerTest, ReducesSizesToThirtyTwoBitsWithoutWrapping) {
    TempDir dir("size");
    const std::pair<std::int64_t, std::int32_t> cases[] = {
        {0, 0},
        {INT32_MAX, INT32_MAX},
        {std::int64_t(INT32_MAX) + 1, INT32_MAX},
        {(std::int64_t(1) << 32) + 5, INT32_MAX}, // wrapping would give 5
    };
    FileManager files;
    for (const auto& [size, expected] : cases) {
        const std::string path = dir.write("sparse-" + std::to_string(size));
        ASSERT_EQ(truncate(path.c_str(), size), 0); // sparse: no blocks are written
        EXPECT_EQ(files.fileLength(path), expected) << size;
        EXPECT_EQ(files.attributesFor(path)->size, size);
    }
}

// One kind of question: how to ask it, which count shows a read, and two
// samples that answer it differently.
struct QueryCase {
    const char* name;
    std::function<std::string(FileManager&, const std::string&)> ask;
    std::uint64_t FileManager::ReadCounts::*count;
    const char* first;
    const char* second;
};

std::string describe(const plist::Dictionary& tags) {
    return plist::toXml(plist::Value(tags));
}

const QueryCase kQueries[] = {
    {"size", [](FileManager& f, const std::string& p) { return std::to_string(f.fileLength(p)); },
     &FileManager::ReadCounts::attributes, "images/image.jpg", "made/both-dates.jpg"},
    {"modification date",
     [](FileManager& f, const std::string& p) {
         return std::to_string(f.fileModificationDate(p).value_or(-1));
     },
     &FileManager::ReadCounts::attributes, "images/image.jpg", "made/both-dates.jpg"},
    {"EXIF date",
     [](FileManager& f, const std::string& p) { return std::to_string(f.fileEXIFDate(p)); },
     &FileManager::ReadCounts::exifDates, "made/both-dates.jpg", "made/portrait-mm.jpg"},
    {"tags", [](FileManager& f, const std::string& p) { return describe(f.mp3TagsFor(p)); },
     &FileManager::ReadCounts::audioTags, "audio/silence-44-s.mp3", "audio/vbri.mp3"},
    {"dimensions",
     [](FileManager& f, const std::string& p) {
         const PixelSize size = f.fileEXIFDimensions(p);
         return std::to_string(size.width) + "x" + std::to_string(size.height);
     },
     &FileManager::ReadCounts::pixelSizes, "made/both-dates.jpg", "made/portrait-mm.jpg"},
};

TEST(FileManagerTest, ASecondQueryReadsNothingUntilTheCacheIsInvalidated) {
    for (const auto& q : kQueries) {
        SCOPED_TRACE(q.name);
        TempDir dir("cache");
        // The ending decides whether the tag reader looks at the file at all.
        const std::string sample = q.first;
        const std::string path = dir / ("item" + sample.substr(sample.rfind('.')));
        replaceWith(path, q.first);
        if (q.count == &FileManager::ReadCounts::attributes) {
            const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
            ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        }
        FileManager files;
        const std::string answer = q.ask(files, path);
        EXPECT_EQ(files.readCounts().*q.count, 1u);

        replaceWith(path, q.second); // another size, date, tag set and pixel size
        EXPECT_EQ(q.ask(files, path), answer);
        EXPECT_EQ(files.readCounts().*q.count, 1u);

        files.invalidateCache();
        EXPECT_NE(q.ask(files, path), answer);
        EXPECT_EQ(files.readCounts().*q.count, 2u);
    }
}

TEST(FileManagerTest, EveryKindOfQueryIsAnsweredFromTheCacheTheSecondTime) {
    TempDir dir("cache");
    const std::string paths[] = {
        copyOf(dir, "a.jpg", "made/both-dates.jpg"), copyOf(dir, "b.mp3", "audio/itunes10.mp3"),
        copyOf(dir, "c.jpg", "images/image.jpg"), dir.write("d.txt", "text")};
    FileManager files;
    auto askEverything = [&] {
        std::string answers;
        for (const auto& path : paths) {
            for (const auto& q : kQueries)
                answers += q.ask(files, path) + "|";
            answers += std::to_string(files.fileCreationDate(path).value_or(-1)) + "\n";
        }
        return answers;
    };
    const std::string first = askEverything();
    const auto counts = files.readCounts();
    EXPECT_EQ(counts.attributes, 4u);
    EXPECT_EQ(counts.exifDates, 4u);
    EXPECT_EQ(counts.audioTags, 4u);
    EXPECT_EQ(counts.pixelSizes, 4u);
    EXPECT_EQ(askEverything(), first);
    const auto again = files.readCounts();
    EXPECT_EQ(again.attributes + again.exifDates + again.audioTags + again.pixelSizes, 16u);
}

TEST(FileManagerTest, MissingAnswersAreCachedToo) {
    TempDir dir("cache");
    const std::string plain = copyOf(dir, "plain.jpg", "images/image.jpg");
    const std::string text = dir.write("text.png", "not an image");
    FileManager files;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(files.fileEXIFDate(plain), kDistantPast);
        EXPECT_EQ(files.fileEXIFDimensions(text).width, -1);
        EXPECT_EQ(files.fileEXIFDimensions(text).height, -1);
        EXPECT_TRUE(files.mp3TagsFor(text).empty());
    }
    const auto counts = files.readCounts();
    EXPECT_EQ(counts.exifDates, 1u);
    EXPECT_EQ(counts.pixelSizes, 1u);
    EXPECT_EQ(counts.audioTags, 1u);
}

TEST(FileManagerTest, WithoutTheCacheEveryQueryReads) {
    TempDir dir("cache");
    const std::string path = copyOf(dir, "a.jpg", "made/both-dates.jpg");
    FileManager files;
    EXPECT_TRUE(files.usesCache());
    files.setCache(false);
    EXPECT_FALSE(files.usesCache());
    for (int round = 0; round < 3; ++round) {
        files.fileEXIFDate(path);
        files.fileLength(path);
    }
    EXPECT_EQ(files.readCounts().exifDates, 3u);
    EXPECT_EQ(files.readCounts().attributes, 3u);
    files.setCache(true);
    files.fileEXIFDate(path);
    files.fileEXIFDate(path);
    EXPECT_EQ(files.readCounts().exifDates, 4u);
}

TEST(FileManagerTest, ACaptureDateOnTheReferenceInstantIsStillADate) {
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    TempDir dir("exif");
    const std::string path = copyOf(dir, "new-year.jpg", "images/image.jpg");
    {
        auto image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        image->exifData()["Exif.Photo.DateTimeOriginal"] = "2001:01:01 00:00:00";
        image->writeMetadata();
    }
    FileManager files;
    EXPECT_EQ(files.fileEXIFDate(path), 0.0);
    saved ? setenv("TZ", savedZone.c_str(), 1) : unsetenv("TZ");
    tzset();
}

TEST(FileManagerTest, NowIsFixedWhenTheServiceIsCreated) {
    using Clock = std::chrono::system_clock;
    auto seconds = [](Clock::time_point t) {
        return std::chrono::duration<double>(t.time_since_epoch()).count() - kUnixToReference;
    };
    const double before = seconds(Clock::now());
    FileManager files;
    const double after = seconds(Clock::now());
    const double now = files.now();
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(files.now(), now);
    EXPECT_EQ(&FileManager::instance(), &FileManager::instance());
    EXPECT_EQ(FileManager::instance().now(), FileManager::instance().now());
}

// The rename run: a worker asks while the main thread waits, then the main
// thread finds every answer cached. Two threads that overlap by mistake still
// get the same answers.
TEST(FileManagerTest, AWorkerThreadFillsTheCacheTheMainThreadUses) {
    TempDir dir("threads");
    std::vector<std::string> paths;
    const char* samples[] = {"made/both-dates.jpg", "made/older.jpg", "audio/itunes10.mp3",
                             "audio/infloop.m4a"};
    for (int i = 0; i < 24; ++i) {
        const std::string sample = samples[i % 4];
        paths.push_back(copyOf(dir, std::to_string(i) + sample.substr(sample.rfind('.')), sample));
    }
    auto askAll = [&](FileManager& files) {
        std::string answers;
        for (const auto& path : paths)
            for (const auto& q : kQueries)
                answers += q.ask(files, path) + "\n";
        return answers;
    };
    FileManager files;
    std::string fromWorker;
    std::thread worker([&] { fromWorker = askAll(files); });
    worker.join();
    const auto counts = files.readCounts();
    EXPECT_EQ(askAll(files), fromWorker);
    const auto after = files.readCounts();
    EXPECT_EQ(after.attributes + after.exifDates + after.audioTags + after.pixelSizes,
              counts.attributes + counts.exifDates + counts.audioTags + counts.pixelSizes);

    FileManager shared;
    std::string first, second;
    std::thread a([&] { first = askAll(shared); });
    std::thread b([&] { second = askAll(shared); });
    a.join();
    b.join();
    EXPECT_EQ(first, fromWorker);
    EXPECT_EQ(second, fromWorker);
}

} // namespace
} // namespace morvane
