// A droplet's Settings.plist (XML or binary property list) read as the command
// line reads it, its chain loaded and run over a few names: no crash, every
// name still writable.
#include "MRVN7x/app/ApplicationDefaults.h"
#include "cli/ChainBuilder.h"
#include "fuzz/FuzzChain.h"

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path =
        fuzz::writeScratchFile("Settings.plist", {reinterpret_cast<const char*>(data), size});
    auto flat = cli::readChainFile(path);
    if (!flat)
        return 0;
    CompositeRenameAction chain(applicationActionList());
    (void)chain.setFlatParameterList(*flat);
    fuzz::runChainOverNames(chain);
    return 0;
}
