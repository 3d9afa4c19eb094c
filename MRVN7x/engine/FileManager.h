#pragma once
// The file attribute service: per absolute path, the dates, size, EXIF date,
// audio tags and pixel size of an item, each read once and cached by path
// until invalidateCache().
//
// Dates are seconds since 1 January 2001 00:00:00 UTC.
#include "platform/PlistValue.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// The distant past (1 January 0001): "no date"; earlier than every real date.
inline constexpr double kDistantPast = -63114076800.0;

struct FileAttributes {
    double modificationDate = 0;
    double creationDate = 0; // birth time where the file system records it, else modification
    std::int64_t size = 0;
    bool isDirectory = false;
    bool isSymbolicLink = false;
};

struct PixelSize {
    float width = -1;
    float height = -1;
};

class FileManager {
public:
    static FileManager& instance();
    FileManager(); // fixes now()

    void invalidateCache();
    bool usesCache() const;
    void setCache(bool use);

    // The item itself (a symbolic link is not followed); nothing when it does not exist.
    std::optional<FileAttributes> attributesFor(const std::string& path);
    std::optional<double> fileModificationDate(const std::string& path);
    std::optional<double> fileCreationDate(const std::string& path);
    std::int32_t fileLength(const std::string& path); // reduced to 32 bits; 0 when missing
    double fileEXIFDate(const std::string& path);     // kDistantPast when there is none
    // The audio tag dictionary: "art", "alb", "titl", "track", "numTrack", "cd",
    // "numCds", all texts, each present only when known.
    plist::Dictionary mp3TagsFor(const std::string& path);
    PixelSize fileEXIFDimensions(const std::string& path); // -1 x -1 when unknown
    double now() const;
};

} // namespace morvane
