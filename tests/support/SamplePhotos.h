#pragma once
// Photos made on the spot for the tests and the benchmarks: a plain grey JPEG or
// an uncompressed TIFF of any size, with the EXIF tags a case needs written by
// Exiv2. They stand in for camera photographs that cannot be shipped.
#include <optional>
#include <string>
#include <vector>

namespace morvane::test {

struct PhotoRecipe {
    int width = 16, height = 16;
    std::string original;   // Exif.Photo.DateTimeOriginal (0x9003), empty: none
    std::string written;    // Exif.Image.DateTime (0x0132), empty: none
    int orientation = 0;    // Exif.Image.Orientation, 0: none
    bool bigEndian = false; // "MM" rather than "II" EXIF / TIFF data
    bool tiff = false;      // a TIFF file rather than a JPEG
    int exifWidth = -1;     // Exif.Photo.PixelXDimension / PixelYDimension, -1: none
    int exifHeight = -1;
};

// A baseline greyscale JPEG without metadata: every pixel mid-grey.
std::string plainJpeg(int width, int height);
// An uncompressed 8-bit greyscale TIFF without dates.
std::string plainTiff(int width, int height, bool bigEndian);
// The bytes of a photo made by the recipe.
std::string photoBytes(const PhotoRecipe& recipe);

// The stand-in photos by name ("made/both-dates.jpg"); nothing for another name.
std::optional<PhotoRecipe> madePhoto(const std::string& name);
std::vector<std::string> madePhotoNames();

// The bytes of a sample: a made photo for a "made/..." name, else the file of
// that path under realFolder.
std::string sampleBytes(const std::string& realFolder, const std::string& sample);

} // namespace morvane::test
