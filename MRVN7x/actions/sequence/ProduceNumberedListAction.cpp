#include "MRVN7x/actions/sequence/ProduceNumberedListAction.h"

namespace morvane {

plist::Dictionary ProduceNumberedListAction::defaultParameters() const {
    auto params = SortNumberBasedAction::defaultParameters();
    params["prefix"] = plist::Value("Caribbean Holiday ");
    params["suffix"] = plist::Value("");
    return params;
}

void ProduceNumberedListAction::prepareParameters() {
    SortNumberBasedAction::prepareParameters();
    paramPrefix = getParamText("prefix");
    paramSuffix = getParamText("suffix");
}

std::u16string ProduceNumberedListAction::processName(const std::u16string& fragment,
                                                      const std::string&, InputContext& input) {
    const auto number = getFormattedNumberString(input);
    return number ? paramPrefix + *number + paramSuffix : fragment;
}

} // namespace morvane
