// The audio tag reader over arbitrary bytes as an MP3 and as an MPEG-4 file:
// no crash, no hang, and every value a text.
#include "MRVN7x/metadata/AudioTagReader.h"
#include "fuzz/FuzzSupport.h"

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* name : {"song.mp3", "song.m4a"}) {
        const std::string path = fuzz::writeScratchFile(name, bytes);
        for (const auto& [key, value] : AudioTagReader::tagsFor(path)) {
            const std::string* text = value.asString();
            if (!text)
                fuzz::fail("tag " + key + " is not a text");
        }
    }
    return 0;
}
