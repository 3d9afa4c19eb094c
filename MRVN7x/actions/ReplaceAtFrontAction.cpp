#include "MRVN7x/actions/ReplaceAtFrontAction.h"

namespace morvane {

plist::Dictionary ReplaceAtFrontAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["replace"] = plist::Value("");
    params["with"] = plist::Value("");
    params["ignore case"] = plist::Value(1);
    return params;
}

void ReplaceAtFrontAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramReplace = getParamText("replace");
    paramWith = getParamText("with");
    subRangeMask = searchMaskForIgnoreCase(getParamInt("ignore case", 1));
}

std::u16string ReplaceAtFrontAction::processName(const std::u16string& fragment, const std::string&,
                                                 InputContext&) {
    auto match = UnicodeText::find(fragment, paramReplace, subRangeMask | kAnchoredSearch);
    if (!match)
        return fragment;
    return paramWith + fragment.substr(match->end());
}

} // namespace morvane
