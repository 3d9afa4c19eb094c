// A chain's flat parameter list, as a saved chain or a droplet holds it, with
// arbitrary steps, parameters and current index, loaded into a chain and run
// over a few names: no crash, every name still writable.
#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "fuzz/FuzzChain.h"
#include "fuzz/FuzzParameters.h"

#include <algorithm>

using namespace morvane;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

namespace {
plist::Value arbitraryStep(FuzzedDataProvider& input, const std::vector<std::string>& names) {
    plist::Dictionary step;
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0) {
        step["action name"] = fuzz::arbitraryValue(input, nullptr);
    } else {
        const std::string name = names[input.ConsumeIntegralInRange<size_t>(0, names.size() - 1)];
        step["action name"] = plist::Value(name);
        if (auto action = ActionFactory::create(name))
            step["action parameter list"] =
                plist::Value(fuzz::arbitraryParameters(input, action->defaultParameters()));
    }
    if (input.ConsumeIntegralInRange<int>(0, 15) == 0)
        step["action parameter list"] = fuzz::arbitraryValue(input, nullptr);
    return plist::Value(std::move(step));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<std::string> names = [] {
        auto all = ActionFactory::registeredNames();
        std::erase(all, std::string("Rename from list")); // reads a file named by a parameter
        std::sort(all.begin(), all.end());
        return all;
    }();
    FuzzedDataProvider input(data, size);
    plist::Array steps;
    const int count = input.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < count; ++i)
        steps.push_back(input.ConsumeIntegralInRange<int>(0, 20) == 0
                            ? fuzz::arbitraryValue(input, nullptr)
                            : arbitraryStep(input, names));
    plist::Dictionary flat{{"composite actions array", plist::Value(std::move(steps))}};
    if (input.ConsumeBool())
        flat["currentActionIndex"] = fuzz::arbitraryValue(input, nullptr);

    CompositeRenameAction chain(applicationActionList());
    (void)chain.setFlatParameterList(flat);
    if (chain.count() < 1)
        fuzz::fail("a chain without steps");
    fuzz::runChainOverNames(chain);
    chain.getFlatParameterList();
    return 0;
}
