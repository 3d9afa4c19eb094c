#include "MRVN7x/actions/sequence/ProduceAlphabeticalListAction.h"

namespace morvane {

plist::Dictionary ProduceAlphabeticalListAction::defaultParameters() const {
    auto params = AlphabeticalListBasedAction::defaultParameters();
    params["prefix"] = plist::Value("");
    params["suffix"] = plist::Value("");
    return params;
}

void ProduceAlphabeticalListAction::prepareParameters() {
    AlphabeticalListBasedAction::prepareParameters();
    paramPrefix = getParamText("prefix");
    paramSuffix = getParamText("suffix");
}

std::u16string ProduceAlphabeticalListAction::processName(const std::u16string& fragment,
                                                          const std::string&, InputContext& input) {
    const auto letters = getFormattedAlphabeticalString(input);
    return letters ? paramPrefix + *letters + paramSuffix : fragment;
}

} // namespace morvane
