// The image readers (capture date and pixel size, through Exiv2 and our own
// GIF header reading) over arbitrary bytes: no crash, a size that is known or
// unknown as a whole, a date only when the file gives one.
#include "MRVN7x/metadata/ExifHelper.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The name's ending decides nothing for Exiv2 but does for the GIF reader.
    for (const char* name : {"image.jpg", "image.gif"}) {
        const std::string path = fuzz::writeScratchFile(name, bytes);
        const ImagePixelSize pixels = ExifHelper::pixelSizeFor(path);
        if ((pixels.width < 0) != (pixels.height < 0) || pixels.width < -1 || pixels.height < -1)
            fuzz::fail("a half-known or negative pixel size");
        if (auto date = ExifHelper::captureDateFor(path); date && !std::isfinite(*date))
            fuzz::fail("a capture date that is not a number");
        ExifHelper::exifDateFor(path);
    }
    return 0;
}
