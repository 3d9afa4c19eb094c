// Every action that works on the name alone, over arbitrary UTF-16 names with
// arbitrary parameters: no crash, a changed name is always writable (no lone
// surrogate but the escaped stray bytes), and "Convert to NTFS" gives a name
// that system accepts.
#include "MRVN7x/actions/ActionContext.h"
#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/ConvertToNTFSAction.h"
#include "MRVN7x/engine/FileManager.h"
#include "fuzz/FuzzParameters.h"
#include "fuzz/FuzzSupport.h"
#include "platform/PathText.h"

#include <algorithm>
#include <vector>

using namespace morvane;

namespace {
// Actions that read the disk, a file list or a list file besides the name.
const char* const kNotNameOnly[] = {"Add date to end",         "Add date to front",
                                    "Rename to date",          "Add dimensions to end",
                                    "Add dimensions to start", "Add dimensions",
                                    "Rename to dimensions",    "MP3 rename",
                                    "Rename from list",        "Composite rename action",
                                    "MRVN global settings"};

const std::vector<std::string>& nameOnlyActions() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all = ActionFactory::registeredNames();
        std::erase_if(all, [](const std::string& name) {
            return std::find(std::begin(kNotNameOnly), std::end(kNotNameOnly), name) !=
                   std::end(kNotNameOnly);
        });
        std::sort(all.begin(), all.end());
        return all;
    }();
    return names;
}

bool isLegalNtfsName(const std::u16string& name) {
    if (name.empty() || name.back() == u'.' || name.back() == u' ' ||
        ConvertToNTFSAction::reservedStemLength(name) != 0)
        return false;
    const std::u16string illegal = u"\"*/<>?\\|:";
    return std::none_of(name.begin(), name.end(), [&](char16_t unit) {
        return unit < 0x20 || illegal.find(unit) != std::u16string::npos;
    });
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto& names = nameOnlyActions();
    const std::string actionName = names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)];
    auto action = ActionFactory::create(actionName);
    if (!action)
        fuzz::fail("cannot create " + actionName);
    plist::Dictionary params = fuzz::arbitraryParameters(input, action->defaultParameters());
    // "Convert to NTFS" promises a legal name when it converts the whole name.
    const bool checkNtfs = actionName == "Convert to NTFS" && input.ConsumeBool();
    if (checkNtfs)
        params["fragmentSelection"] = plist::Value(0);
    action->setParameterList(params);
    const bool fromBytes = input.ConsumeBool();
    const std::u16string name = fromBytes ? PathText::fromUtf8(input.ConsumeRandomLengthString(300))
                                          : fuzz::arbitraryUtf16(input, 300);
    const auto onDisk = PathText::fileNameFromDisplayName(name);
    InputContext context{"/folder/" + onDisk.value_or("x"), name, &FileManager::instance()};
    OutputContext output;
    action->executeWithInputContext(context, output);
    if (output.newName != name && fuzz::hasForeignLoneSurrogate(output.newName))
        fuzz::fail(actionName + ": the new name holds a lone surrogate");
    if (!fuzz::hasForeignLoneSurrogate(name) && !PathText::isEncodable(output.newName))
        fuzz::fail(actionName + ": a writable name became unwritable");
    if (checkNtfs && !fuzz::hasForeignLoneSurrogate(name) && !isLegalNtfsName(output.newName))
        fuzz::fail("Convert to NTFS: the result is not a legal name there");
    return 0;
}
