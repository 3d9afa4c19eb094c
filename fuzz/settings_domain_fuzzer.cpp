// A preferences domain's file with arbitrary contents: reading it never
// crashes, a damaged file is set aside (never written over), and after a
// write the domain's file always reads back as a dictionary holding the key
// written. The registry and the chain then load their settings from it.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "fuzz/FuzzChain.h"
#include "platform/PlistValue.h"
#include "platform/UserDefaults.h"

#include <filesystem>

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string folder = fuzz::scratchFolder() + "/domain";
    fuzz::removeTree(folder);
    std::filesystem::create_directories(folder);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::FILE* file = std::fopen((folder + "/fuzz.domain.plist").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    {
        UserDefaults defaults("fuzz.domain", folder);
        ActionList registry(defaults);
        for (const auto& name : registry.nameArray())
            (void)registry.newActionForName(name, nullptr);
        CompositeRenameAction chain(registry);
        (void)chain.loadFromPreferences();
        fuzz::runChainOverNames(chain);
        defaults.setObject("fuzz written", plist::Value(7));
        if (!defaults.synchronize())
            fuzz::fail("a domain whose file was damaged cannot be written");
    }
    const auto reread = plist::readFile(folder + "/fuzz.domain.plist");
    const plist::Dictionary* dict = reread ? reread->asDictionary() : nullptr;
    const plist::Value* written = dict ? plist::find(*dict, "fuzz written") : nullptr;
    if (!written || !(*written == plist::Value(7)))
        fuzz::fail("the domain's file lost the key just written");
    // What was there is either still read as it was or set aside whole.
    const auto original = plist::fromBytes(bytes);
    if (!original || !original->asDictionary()) {
        bool setAside = false;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            setAside |= entry.path().filename().string().starts_with("fuzz.domain.plist.damaged");
        if (!setAside && !bytes.empty())
            fuzz::fail("a damaged domain file was not set aside");
    }
    return 0;
}
