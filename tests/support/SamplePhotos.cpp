#include "tests/support/SamplePhotos.h"

#include <exiv2/exiv2.hpp>

#include <fstream>
#include <map>
#include <sstream>

namespace morvane::test {
namespace {

std::string bigEndian16(int value) {
    return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}

// A marker segment: the marker, then the length (counting itself) and the body.
std::string segment(unsigned char marker, const std::string& body) {
    return std::string("\xFF", 1) + static_cast<char>(marker) +
           bigEndian16(static_cast<int>(body.size()) + 2) + body;
}

// A Huffman table with one symbol, coded by the single bit 0.
std::string oneCodeTable(char tableClass) {
    std::string body(1, tableClass);
    body += '\x01' + std::string(15, '\0');
    return body + '\0'; // DC: difference category 0; AC: end of block
}

// Writes a 16- or 32-bit number in the file's byte order.
std::string number(std::uint32_t value, int bytes, bool bigEndian) {
    std::string out(static_cast<size_t>(bytes), '\0');
    for (int i = 0; i < bytes; ++i) {
        const int shift = 8 * (bigEndian ? bytes - 1 - i : i);
        out[static_cast<size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
    }
    return out;
}

// One IFD entry holding a single SHORT (type 3) or LONG (type 4) value.
std::string ifdEntry(int tag, int type, std::uint32_t value, bool bigEndian) {
    const std::string field = type == 3 ? number(value, 2, bigEndian) + std::string(2, '\0')
                                        : number(value, 4, bigEndian);
    return number(tag, 2, bigEndian) + number(type, 2, bigEndian) + number(1, 4, bigEndian) + field;
}

std::string bytesOf(Exiv2::BasicIo& io) {
    io.seek(0, Exiv2::BasicIo::beg);
    Exiv2::DataBuf buffer = io.read(static_cast<long>(io.size()));
    return std::string(reinterpret_cast<const char*>(buffer.pData_),
                       static_cast<size_t>(buffer.size_));
}

} // namespace

std::string plainJpeg(int width, int height) {
    std::string out("\xFF\xD8", 2);
    out += segment(0xDB, std::string(1, '\0') + std::string(64, '\x01'));
    out += segment(0xC0, "\x08" + bigEndian16(height) + bigEndian16(width) + "\x01\x01\x11" +
                             std::string(1, '\0'));
    out += segment(0xC4, oneCodeTable('\x00'));
    out += segment(0xC4, oneCodeTable('\x10'));
    out += segment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6));
    // Each 8x8 block is two zero bits: no change of the DC value, then end of block.
    const size_t blocks =
        static_cast<size_t>((width + 7) / 8) * static_cast<size_t>((height + 7) / 8);
    const size_t bits = 2 * blocks;
    out += std::string(bits / 8, '\0');
    if (bits % 8)
        out += static_cast<char>(0xFF >> (bits % 8)); // padded with one bits
    return out + std::string("\xFF\xD9", 2);
}

std::string plainTiff(int width, int height, bool bigEndian) {
    const int entries = 9;
    const std::uint32_t pixels = 8 + 2 + 12 * entries + 4;
    const auto size = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height);
    std::string out = bigEndian ? "MM" : "II";
    out += number(42, 2, bigEndian) + number(8, 4, bigEndian) + number(entries, 2, bigEndian);
    out += ifdEntry(256, 4, static_cast<std::uint32_t>(width), bigEndian);  // ImageWidth
    out += ifdEntry(257, 4, static_cast<std::uint32_t>(height), bigEndian); // ImageLength
    out += ifdEntry(258, 3, 8, bigEndian);                                  // BitsPerSample
    out += ifdEntry(259, 3, 1, bigEndian);                                  // no compression
    out += ifdEntry(262, 3, 1, bigEndian);                                  // black is zero
    out += ifdEntry(273, 4, pixels, bigEndian);                             // StripOffsets
    out += ifdEntry(277, 3, 1, bigEndian);                                  // SamplesPerPixel
    out += ifdEntry(278, 4, static_cast<std::uint32_t>(height), bigEndian); // RowsPerStrip
    out += ifdEntry(279, 4, size, bigEndian);                               // StripByteCounts
    out += number(0, 4, bigEndian);                                         // no next IFD
    return out + std::string(size, '\x80');
}

std::string photoBytes(const PhotoRecipe& recipe) {
    const std::string plain = recipe.tiff ? plainTiff(recipe.width, recipe.height, recipe.bigEndian)
                                          : plainJpeg(recipe.width, recipe.height);
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(plain.data()),
                                           static_cast<long>(plain.size()));
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    if (!recipe.original.empty())
        exif["Exif.Photo.DateTimeOriginal"] = recipe.original;
    if (!recipe.written.empty())
        exif["Exif.Image.DateTime"] = recipe.written;
    if (recipe.orientation)
        exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(recipe.orientation);
    if (recipe.exifWidth >= 0) {
        exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(recipe.exifWidth);
        exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(recipe.exifHeight);
    }
    if (!recipe.tiff)
        image->setByteOrder(recipe.bigEndian ? Exiv2::bigEndian : Exiv2::littleEndian);
    image->writeMetadata();
    return bytesOf(image->io());
}

namespace {
const std::map<std::string, PhotoRecipe>& madePhotos() {
    // Dates and sizes of the kinds cameras write; comments say what each covers.
    static const std::map<std::string, PhotoRecipe> photos = {
        // Both date tags, different: the capture date wins.
        {"made/both-dates.jpg", {100, 68, "2008:05:30 15:56:01", "2008:07:31 10:38:11"}},
        // Portrait, big-endian EXIF.
        {"made/portrait-mm.jpg", {59, 100, "2006:08:17 09:24:48", "2008:07:31 16:49:10", 0, true}},
        {"made/older.jpg", {100, 78, "2005:08:13 09:47:23", "2008:07:31 10:39:26"}},
        // Only the TIFF date: the fallback applies.
        {"made/only-written-mm.jpg", {100, 77, "", "2008:07:31 10:05:49", 0, true}},
        // Only the capture date; the EXIF size fields disagree with the frame.
        {"made/only-original-mm.jpg",
         {64, 48, "1999:05:25 21:00:09", "", 0, true, false, 1280, 960}},
        // A camera clock never set: a valid date all the same.
        {"made/clock-never-set.jpg", {64, 48, "1998:01:01 00:00:00", "1998:01:01 00:00:00"}},
        // Capture dates that are no dates: zeros, and the blank "unknown" form.
        {"made/zero-original.jpg", {100, 68, "0000:00:00 00:00:00", "2008:07:31 10:38:11"}},
        {"made/blank-original.jpg", {100, 68, "    :  :     :  :  ", "2008:07:31 10:38:11"}},
        // Turned a quarter by Orientation 6; the stored size is what counts.
        {"made/orientation-6.jpg", {45, 60, "", "", 6, true}},
        // EXIF size fields of 0.
        {"made/zero-exif-size.jpeg",
         {200, 133, "2012:07:14 16:30:12", "2014:11:19 18:08:04", 1, true, false, 0, 0}},
        {"made/only-written-mm.tiff", {199, 47, "", "2012:01:09 22:52:11", 0, true, true}},
        {"made/no-dates.tiff", {43, 54, "", "", 0, false, true}},
    };
    return photos;
}
} // namespace

std::optional<PhotoRecipe> madePhoto(const std::string& name) {
    const auto found = madePhotos().find(name);
    if (found == madePhotos().end())
        return std::nullopt;
    return found->second;
}

std::string sampleBytes(const std::string& realFolder, const std::string& sample) {
    if (const auto photo = madePhoto(sample))
        return photoBytes(*photo);
    std::ifstream in(realFolder + "/" + sample, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> madePhotoNames() {
    std::vector<std::string> names;
    for (const auto& entry : madePhotos())
        names.push_back(entry.first);
    return names;
}

} // namespace morvane::test
