#include "MRVN7x/actions/sequence/InsertNumberAtPositionAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

plist::Dictionary InsertNumberAtPositionAction::defaultParameters() const {
    auto params = SortNumberBasedAction::defaultParameters();
    params["position"] = plist::Value(0);
    params["mode"] = plist::Value(0);
    // Carried in the defaults for the parameter view's sake; never read.
    params["prefix"] = plist::Value("");
    params["suffix"] = plist::Value("");
    return params;
}

void InsertNumberAtPositionAction::prepareParameters() {
    SortNumberBasedAction::prepareParameters();
    paramPosition = getParamInt("position", 0);
    paramMode = getParamInt("mode", 0);
}

std::u16string InsertNumberAtPositionAction::processName(const std::u16string& fragment,
                                                         const std::string&, InputContext& input) {
    const auto number = getFormattedNumberString(input);
    // Compared unsigned: a negative position lies beyond every name.
    const auto position = static_cast<std::uint32_t>(paramPosition);
    if (!number || fragment.size() < position)
        return fragment;
    const size_t index = paramMode == 0 ? position : fragment.size() - position;
    // A position inside a surrogate pair would split a character in two.
    if (!UnicodeText::isCodePointBoundary(fragment, index))
        return fragment;
    return fragment.substr(0, index) + *number + fragment.substr(index);
}

} // namespace morvane
