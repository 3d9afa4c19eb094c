// The two list-file loaders over arbitrary file contents: no crash, a result
// that is 0, -1 or a record number, and only acceptable entries kept.
#include "MRVN7x/lists/RenameListLoader.h"
#include "MRVN7x/lists/TabDelimitedFileListLoader.h"
#include "fuzz/FuzzSupport.h"

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path =
        fuzz::writeScratchFile("list.txt", {reinterpret_cast<const char*>(data), size});

    RenameListLoader plain;
    const int plainResult = plain.loadFromPath(path);
    if (plainResult < RenameListLoader::kUnreadable)
        fuzz::fail("plain list: result below -1");
    if (plainResult == 0)
        for (const auto& name : plain.getFileArray())
            if (!RenameListLoader::isValidNewName(name) || fuzz::hasForeignLoneSurrogate(name))
                fuzz::fail("plain list: an invalid name was kept");

    for (const bool ignoreCase : {false, true}) {
        TabDelimitedFileListLoader pairs;
        pairs.setIgnoreCase(ignoreCase);
        const int result = pairs.loadFromPath(path);
        if (result < RenameListLoader::kUnreadable)
            fuzz::fail("pair list: result below -1");
        if (pairs.getFileArray().size() != pairs.getNewNameArray().size())
            fuzz::fail("pair list: paths and names differ in number");
        if (result == 0)
            for (const auto& name : pairs.getNewNameArray())
                if (fuzz::hasForeignLoneSurrogate(name))
                    fuzz::fail("pair list: a name with a lone surrogate was kept");
    }
    return 0;
}
