#include "MRVN7x/metadata/ExifHelper.h"

#include "tests/metadata/MetadataTestSupport.h"
#include "tests/support/TempDir.h"

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace morvane {
namespace {
using test::ScopedTimeZone;
using test::TempDir;
using test::testDataPath;

constexpr double kUnixToReference = 978307200.0;

// Writes the given EXIF entries into a copy of a small JPEG without metadata.
std::string jpegWithExif(const TempDir& dir, const std::string& name,
                         const std::map<std::string, std::string>& entries) {
    const std::string path = dir.write(name, test::readFile(testDataPath("images/image.jpg")));
    auto image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    for (const auto& [key, text] : entries)
        image->exifData()[key] = text;
    image->writeMetadata();
    return path;
}

constexpr const char* kOriginal = "Exif.Photo.DateTimeOriginal";
constexpr const char* kWritten = "Exif.Image.DateTime";

struct DateTextCase {
    const char* text;
    bool valid;
};

TEST(ExifHelperTest, ParsesOnlyWholeValidDateTexts) {
    ScopedTimeZone utc("UTC0");
    const DateTextCase cases[] = {
        {"2006:07:15 14:03:59", true},   {"2008:02:29 00:00:00", true},
        {"2000:02:29 23:59:59", true},   {"0001:01:01 00:00:00", true},
        {"0000:00:00 00:00:00", false},  {"    :  :     :  :  ", false},
        {"2007:02:29 12:00:00", false},  {"1900:02:29 12:00:00", false},
        {"2006:13:01 00:00:00", false},  {"2006:04:31 00:00:00", false},
        {"2006:07:15 24:00:00", false},  {"2006:07:15 14:60:00", false},
        {"2006:07:15 14:03:60", false},  {"2006-07-15 14:03:59", false},
        {"2006:07:15T14:03:59", false},  {"2006:07:15 14:03:59 ", false},
        {" 2006:07:15 14:03:59", false}, {"2006:07:15 14:03", false},
        {"2006:7:15 14:03:59 ", false},  {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ExifHelper::parseDateText(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (c.valid) {
            EXPECT_EQ(*parsed, *test::utcSecondsOf(c.text));
        }
    }
}

TEST(ExifHelperTest, ReadsDateTextsInTheMachinesTimeZone) {
    // Central European time, with summer time from the last Sunday of March.
    ScopedTimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    const auto summer = ExifHelper::parseDateText("2006:07:15 14:03:59");
    const auto winter = ExifHelper::parseDateText("2006:01:15 14:03:59");
    ASSERT_TRUE(summer && winter);
    EXPECT_EQ(*summer, *test::utcSecondsOf("2006:07:15 12:03:59"));
    EXPECT_EQ(*winter, *test::utcSecondsOf("2006:01:15 13:03:59"));

    // Formatting the instant again in the same zone gives back the clock time.
    const std::time_t instant = static_cast<std::time_t>(*summer + kUnixToReference);
    std::tm local{};
    localtime_r(&instant, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local);
    EXPECT_STREQ(text, "2006:07:15 14:03:59");
}

struct FixtureCase {
    const char* name;
    std::map<std::string, std::string> entries;
    const char* expected; // the date text the reader must choose, or nullptr
};

TEST(ExifHelperTest, PrefersTheCaptureDateAndFallsBackToTheTiffDate) {
    ScopedTimeZone utc("UTC0");
    TempDir dir("exif");
    const FixtureCase cases[] = {
        {"both.jpg",
         {{kOriginal, "2008:05:30 15:56:01"}, {kWritten, "2008:07:31 10:38:11"}},
         "2008:05:30 15:56:01"},
        {"zero-original.jpg",
         {{kOriginal, "0000:00:00 00:00:00"}, {kWritten, "2008:07:31 10:38:11"}},
         "2008:07:31 10:38:11"},
        {"only-tiff.jpg", {{kWritten, "2012:01:09 22:52:11"}}, "2012:01:09 22:52:11"},
        {"only-original.jpg", {{kOriginal, "1999:05:25 21:00:09"}}, "1999:05:25 21:00:09"},
        {"garbled-both.jpg", {{kOriginal, "yesterday"}, {kWritten, "2008:07:31"}}, nullptr},
        {"no-dates.jpg", {{"Exif.Image.Make", "Morvane"}}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = jpegWithExif(dir, c.name, c.entries);
        const auto date = ExifHelper::captureDateFor(path);
        ASSERT_EQ(date.has_value(), c.expected != nullptr);
        if (c.expected) {
            EXPECT_EQ(*date, *test::utcSecondsOf(c.expected));
            EXPECT_EQ(ExifHelper::exifDateFor(path), *date);
        } else {
            EXPECT_EQ(ExifHelper::exifDateFor(path), 0.0);
        }
    }
}

TEST(ExifHelperTest, ADateOnTheReferenceInstantIsZeroOnlyThroughExifDateFor) {
    ScopedTimeZone utc("UTC0");
    TempDir dir("exif");
    const std::string alone = jpegWithExif(dir, "alone.jpg", {{kOriginal, "2001:01:01 00:00:00"}});
    EXPECT_EQ(ExifHelper::exifDateFor(alone), 0.0);
    EXPECT_EQ(ExifHelper::captureDateFor(alone), std::optional<double>(0.0));

    // exifDateFor cannot tell that date from a miss and tries the TIFF date.
    const std::string both = jpegWithExif(
        dir, "both.jpg", {{kOriginal, "2001:01:01 00:00:00"}, {kWritten, "2002:01:01 00:00:00"}});
    EXPECT_EQ(ExifHelper::exifDateFor(both), *test::utcSecondsOf("2002:01:01 00:00:00"));
    EXPECT_EQ(ExifHelper::captureDateFor(both), std::optional<double>(0.0));
}

TEST(ExifHelperTest, AnythingButAReadableImageHasNoDateAndNoSize) {
    TempDir dir("exif");
    const std::string fifo = dir / "pipe.jpg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string paths[] = {
        dir.write("text.jpg", "This is a text file, not a photograph.\n"),
        dir.write("empty.jpg", ""),
        dir / "missing.jpg",
        dir.makeFolder("folder.jpg"),
        fifo,                              // opening it would block until a writer comes
        testDataPath("audio/infloop.m4a"), // a movie container: not measured
        testDataPath("audio/vbri.mp3"),
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExifHelper::exifDateFor(path), 0.0);
        EXPECT_FALSE(ExifHelper::captureDateFor(path));
        EXPECT_FALSE(ExifHelper::pixelSizeFor(path).known());
        EXPECT_EQ(ExifHelper::pixelSizeFor(path).width, -1);
    }
}

std::string littleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// Minimal files of formats the samples lack; only their headers matter here.
std::string gifOf(int width, int height) {
    return "GIF89a" + littleEndian(width, 2) + littleEndian(height, 2) +
           std::string("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9) + "\x2c" + std::string(4, '\0') +
           littleEndian(width, 2) + littleEndian(height, 2) +
           std::string("\x00\x02\x02\x44\x01\x00\x3b", 7);
}

std::string bmpOf(int width, int height) {
    const std::uint32_t row = (width * 3 + 3) & ~3u, pixels = row * height;
    return "BM" + littleEndian(54 + pixels, 4) + littleEndian(0, 4) + littleEndian(54, 4) +
           littleEndian(40, 4) + littleEndian(width, 4) + littleEndian(height, 4) +
           littleEndian(1, 2) + littleEndian(24, 2) + littleEndian(0, 4) + littleEndian(pixels, 4) +
           std::string(16, '\0') + std::string(pixels, '\x7f');
}

std::string webpOf(int width, int height) {
    const std::string vp8x = "VP8X" + littleEndian(10, 4) + std::string(4, '\0') +
                             littleEndian(width - 1, 3) + littleEndian(height - 1, 3);
    return "RIFF" + littleEndian(4 + vp8x.size(), 4) + "WEBP" + vp8x;
}

TEST(ExifHelperTest, MeasuresTheFirstImageOfOtherFormats) {
    TempDir dir("size");
    struct {
        std::string path;
        long width, height;
    } cases[] = {
        {dir.write("a.gif", gifOf(3, 2)), 3, 2},
        {dir.write("b.bmp", bmpOf(5, 7)), 5, 7},
        {dir.write("c.webp", webpOf(640, 480)), 640, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const ImagePixelSize size = ExifHelper::pixelSizeFor(c.path);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
    }
}

// Every real sample: the date that the rule picks from the texts that exiftool
// read (0x9003 when it parses, else 0x0132), and the coded image's pixel size.
TEST(ExifHelperTest, AgreesWithTheManifestOnEveryRealImage) {
    ScopedTimeZone utc("UTC0");
    int images = 0;
    for (const auto& row : test::readManifest()) {
        if (row.at("kind") != "image")
            continue;
        ++images;
        SCOPED_TRACE(row.at("path"));
        const std::string path = testDataPath(row.at("path"));
        auto expected = test::utcSecondsOf(row.at("exif_DateTimeOriginal"));
        if (!expected)
            expected = test::utcSecondsOf(row.at("ifd0_ModifyDate"));
        EXPECT_EQ(ExifHelper::captureDateFor(path), expected);
        EXPECT_EQ(ExifHelper::exifDateFor(path), expected.value_or(0.0));

        const ImagePixelSize size = ExifHelper::pixelSizeFor(path);
        EXPECT_EQ(size.width, std::stol(row.at("ImageWidth")));
        EXPECT_EQ(size.height, std::stol(row.at("ImageHeight")));
    }
    EXPECT_EQ(images, 4);
}

// The byte order of a photo's EXIF data: the first "II" or "MM" TIFF header.
std::string byteOrderOf(const std::string& bytes) {
    const size_t header = bytes.find("*\0", 0, 2) != std::string::npos &&
                                  (bytes.rfind("II", 0) == 0 || bytes.rfind("MM", 0) == 0)
                              ? 0
                              : bytes.find("Exif\0\0") + 6;
    return bytes.substr(header, 2);
}

// The photos the tests make in place of camera photographs: each holds what it
// stands for, and the reader finds the date the rule picks and the frame's size.
TEST(ExifHelperTest, ReadsThePhotosMadeForTheTests) {
    ScopedTimeZone utc("UTC0");
    TempDir dir("made");
    const struct {
        const char* sample;
        const char* date; // nullptr: none
        long width, height;
        const char* byteOrder;
    } cases[] = {
        {"made/both-dates.jpg", "2008:05:30 15:56:01", 100, 68, "II"},
        {"made/portrait-mm.jpg", "2006:08:17 09:24:48", 59, 100, "MM"},
        {"made/older.jpg", "2005:08:13 09:47:23", 100, 78, "II"},
        {"made/only-written-mm.jpg", "2008:07:31 10:05:49", 100, 77, "MM"},
        {"made/only-original-mm.jpg", "1999:05:25 21:00:09", 64, 48, "MM"},
        {"made/clock-never-set.jpg", "1998:01:01 00:00:00", 64, 48, "II"},
        {"made/zero-original.jpg", "2008:07:31 10:38:11", 100, 68, "II"},
        {"made/blank-original.jpg", "2008:07:31 10:38:11", 100, 68, "II"},
        {"made/orientation-6.jpg", nullptr, 45, 60, "MM"},
        {"made/zero-exif-size.jpeg", "2012:07:14 16:30:12", 200, 133, "MM"},
        {"made/only-written-mm.tiff", "2012:01:09 22:52:11", 199, 47, "MM"},
        {"made/no-dates.tiff", nullptr, 43, 54, "II"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sample);
        const std::string bytes = test::sampleBytes(c.sample);
        EXPECT_EQ(byteOrderOf(bytes), c.byteOrder);
        const std::string path = dir.write(c.sample, bytes);
        const auto expected = c.date ? test::utcSecondsOf(c.date) : std::nullopt;
        EXPECT_EQ(ExifHelper::captureDateFor(path), expected);
        const ImagePixelSize size = ExifHelper::pixelSizeFor(path);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
    }
    // What the stand-ins stand for beyond dates and sizes: the turned photo's
    // orientation, the blank and zero capture dates as stored texts.
    auto exifOf = [&](const char* sample) {
        auto image = Exiv2::ImageFactory::open(dir / sample);
        image->readMetadata();
        return image->exifData();
    };
    EXPECT_EQ(exifOf("made/orientation-6.jpg")["Exif.Image.Orientation"].toLong(), 6);
    EXPECT_EQ(exifOf("made/blank-original.jpg")[kOriginal].toString(), "    :  :     :  :  ");
    EXPECT_EQ(exifOf("made/zero-original.jpg")[kOriginal].toString(), "0000:00:00 00:00:00");
    EXPECT_EQ(exifOf("made/only-original-mm.jpg")["Exif.Photo.PixelXDimension"].toLong(), 1280);
}

} // namespace
} // namespace morvane
