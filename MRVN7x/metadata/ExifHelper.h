#pragma once
// The EXIF reader: the capture date and the pixel size of the first image of a
// file, read through Exiv2 (JPEG, PNG, TIFF, GIF, BMP, WebP and the RAW formats
// Exiv2 knows). Movies are not read.
//
// Dates are seconds since 1 January 2001 00:00:00 UTC. The date texts of EXIF
// and TIFF carry no time zone; they are read in the machine's time zone (TZ).
//
// Exiv2 reports problems by throwing; every exception stops here. A missing,
// unreadable, truncated or hostile file gives "no date" and "no size".
// Only regular files (or links to them) are opened, so a named pipe or a
// device in the list cannot block a reader.
//
// Thread safety: the operations keep no state and may run on any thread.
#include <optional>
#include <string>

namespace morvane {

struct ImagePixelSize {
    long width = -1;
    long height = -1;
    bool known() const { return width >= 0 && height >= 0; }
};

class ExifHelper {
public:
    ExifHelper() = delete;

    // The capture date: EXIF DateTimeOriginal (0x9003) when it parses, otherwise
    // TIFF DateTime (0x0132) when that parses; 0 when there is neither.
    static double exifDateFor(const std::string& path);

    // The same choice without folding a date that happens to fall on the
    // reference instant into "no date": nothing exactly when there is no date.
    static std::optional<double> captureDateFor(const std::string& path);

    // The pixel width and height of the first image; -1 x -1 when unknown.
    static ImagePixelSize pixelSizeFor(const std::string& path);

    // Strict reading of a whole "yyyy:MM:dd HH:mm:ss" text in the machine's time
    // zone (the zero placeholder and the blank "unknown" form give nothing).
    static std::optional<double> parseDateText(const std::string& text);
};

} // namespace morvane
