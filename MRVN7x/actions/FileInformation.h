#pragma once
// What a step or a sort may ask about an item on disk: its dates, size, EXIF
// date and pixel size, and its audio tags. The file attribute service of the
// engine answers; this layer only names the questions, so the steps and the
// file list need nothing above them.
//
// Dates are seconds since 1 January 2001 00:00:00 UTC.
#include "platform/PlistValue.h"

#include <cstdint>
#include <optional>
#include <string>

namespace morvane {

// The distant past (1 January 0001): "no date"; earlier than every real date.
inline constexpr double kDistantPast = -63114076800.0;

struct PixelSize {
    float width = -1;
    float height = -1;
};

class FileInformation {
public:
    virtual ~FileInformation() = default;

    virtual std::optional<double> fileModificationDate(const std::string& path) = 0;
    virtual std::optional<double> fileCreationDate(const std::string& path) = 0;
    // The size reduced to 32 bits; 0 when missing. Sizes above 2 GiB - 1 read as
    // 2147483647, so they still sort after every smaller file.
    virtual std::int32_t fileLength(const std::string& path) = 0;
    virtual double fileEXIFDate(const std::string& path) = 0; // kDistantPast when there is none
    // The audio tag dictionary: "art", "alb", "titl", "track", "numTrack", "cd",
    // "numCds", all texts, each present only when known.
    virtual plist::Dictionary mp3TagsFor(const std::string& path) = 0;
    virtual PixelSize fileEXIFDimensions(const std::string& path) = 0; // -1 x -1 when unknown
    // The instant "now" stands for, the same for every item of one preview or run.
    virtual double now() const = 0;

    // The source of a context that has none: it knows nothing about any item,
    // and "now" is the present moment.
    static FileInformation& nothingKnown();
};

} // namespace morvane
