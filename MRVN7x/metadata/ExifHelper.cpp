#include "MRVN7x/metadata/ExifHelper.h"

#include "platform/ReferenceDate.h"

#include <exiv2/exiv2.hpp>

#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sys/stat.h>

namespace morvane {
namespace {

constexpr const char* kDateTimeOriginalKey = "Exif.Photo.DateTimeOriginal"; // 0x9003
constexpr const char* kTiffDateTimeKey = "Exif.Image.DateTime";             // 0x0132

// Exiv2 keeps global state: its log level, the XMP toolkit (which must be set
// up once before threads use it) and the switch for ISO media images (HEIF,
// AVIF, CR3). Problems are reported by our results, so its log stays quiet.
void prepareExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Opens path as a local file (never a URL), reads its metadata and hands the
// image to use. False for anything that is not a readable image, for movies,
// and whenever Exiv2 (or use) throws.
template <typename Use> bool withImage(const std::string& path, Use&& use) {
    if (!isRegularFile(path))
        return false;
    prepareExiv2();
    try {
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(path));
        auto image = Exiv2::ImageFactory::open(io);
        if (image.get() == nullptr)
            return false;
        if (image->mimeType().rfind("video/", 0) == 0)
            return false;
        image->readMetadata();
        use(*image);
        return true;
    } catch (...) {
        return false;
    }
}

std::optional<std::string> textOf(const Exiv2::ExifData& exif, const char* key) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end())
        return std::nullopt;
    return it->toString();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int numberAt(const std::string& text, size_t position, size_t digits) {
    int value = 0;
    for (size_t i = position; i < position + digits; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}
} // namespace

std::optional<double> ExifHelper::parseDateText(const std::string& text) {
    // "yyyy:MM:dd HH:mm:ss": exactly 19 characters, every field in range.
    static constexpr char kShape[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != 19)
        return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] == 'd' ? !isDigit(text[i]) : text[i] != kShape[i])
            return std::nullopt;
    }
    const int year = numberAt(text, 0, 4), month = numberAt(text, 5, 2), day = numberAt(text, 8, 2);
    const int hour = numberAt(text, 11, 2), minute = numberAt(text, 14, 2);
    const int second = numberAt(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;

    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1; // the machine's rules decide daylight saving time
    local.tm_wday = -1;  // mktime sets it on success; -1 is also a valid instant
    // glibc serialises its time-zone state with a lock of its own that thread
    // checkers cannot see; one lock of ours keeps them quiet at no real cost.
    static std::mutex timeZoneLock;
    std::unique_lock lock(timeZoneLock);
    const std::time_t instant = std::mktime(&local);
    lock.unlock();
    if (local.tm_wday < 0)
        return std::nullopt;
    return static_cast<double>(instant) - kUnixToReference;
}

namespace {
struct DateTexts {
    std::optional<std::string> original; // EXIF DateTimeOriginal
    std::optional<std::string> written;  // TIFF DateTime
};

DateTexts dateTextsFor(const std::string& path) {
    DateTexts texts;
    withImage(path, [&](Exiv2::Image& image) {
        const Exiv2::ExifData& exif = image.exifData();
        texts.original = textOf(exif, kDateTimeOriginalKey);
        texts.written = textOf(exif, kTiffDateTimeKey);
    });
    return texts;
}

std::optional<double> parsed(const std::optional<std::string>& text) {
    return text ? ExifHelper::parseDateText(*text) : std::nullopt;
}
} // namespace

std::optional<double> ExifHelper::captureDateFor(const std::string& path) {
    const DateTexts texts = dateTextsFor(path);
    if (const auto original = parsed(texts.original))
        return original;
    return parsed(texts.written);
}

double ExifHelper::exifDateFor(const std::string& path) {
    // 0 stands for "no date" here, so a capture date on the reference instant
    // itself reads as missing and the TIFF date is tried, as for any other miss.
    const DateTexts texts = dateTextsFor(path);
    double date = parsed(texts.original).value_or(0.0);
    if (date == 0.0)
        date = parsed(texts.written).value_or(0.0);
    return date;
}

namespace {
// The Exiv2 0.27 of this platform does not recognise GIF files, so their size
// comes from the logical screen descriptor that follows the 6-byte signature:
// width and height, 16 bits each, little-endian.
ImagePixelSize gifPixelSize(const std::string& path) {
    unsigned char header[10] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(header), sizeof header) ||
        (std::memcmp(header, "GIF87a", 6) != 0 && std::memcmp(header, "GIF89a", 6) != 0))
        return {};
    const long width = header[6] | (header[7] << 8), height = header[8] | (header[9] << 8);
    if (width == 0 || height == 0)
        return {};
    return {width, height};
}
} // namespace

ImagePixelSize ExifHelper::pixelSizeFor(const std::string& path) {
    ImagePixelSize size;
    const bool read = withImage(path, [&](Exiv2::Image& image) {
        // Exiv2 answers 0 for a dimension it could not find.
        const long width = image.pixelWidth(), height = image.pixelHeight();
        if (width > 0 && height > 0)
            size = {width, height};
    });
    if (!read && isRegularFile(path))
        size = gifPixelSize(path);
    return size;
}

} // namespace morvane
