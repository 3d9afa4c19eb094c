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
    const ListLoadResult plainResult = plain.loadFromPath(path);
    if (plainResult.status == ListLoadResult::Status::StoppedAtRecord && plainResult.record < 1)
        fuzz::fail("plain list: stopped before the first record");
    if (plainResult.loaded())
        for (const auto& name : plain.getFileArray())
            if (!RenameListLoader::isValidNewName(name) || fuzz::hasForeignLoneSurrogate(name))
                fuzz::fail("plain list: an invalid name was kept");

    for (const bool ignoreCase : {false, true}) {
        TabDelimitedFileListLoader pairs;
        pairs.setIgnoreCase(ignoreCase);
        const ListLoadResult result = pairs.loadFromPath(path);
        if (result.status == ListLoadResult::Status::StoppedAtRecord && result.record < 1)
            fuzz::fail("pair list: stopped before the first record");
        if (pairs.getFileArray().size() != pairs.getNewNameArray().size())
            fuzz::fail("pair list: paths and names differ in number");
        if (result.loaded())
            for (const auto& name : pairs.getNewNameArray())
                if (fuzz::hasForeignLoneSurrogate(name))
                    fuzz::fail("pair list: a name with a lone surrogate was kept");
    }
    return 0;
}
