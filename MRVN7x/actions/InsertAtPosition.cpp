#include "MRVN7x/actions/InsertAtPosition.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

plist::Dictionary InsertAtPosition::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["text"] = plist::Value("");
    params["position"] = plist::Value(0);
    params["mode"] = plist::Value(0);
    return params;
}

void InsertAtPosition::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramText = getParamText("text");
    paramPosition = getParamInt("position", 0);
    paramMode = getParamInt("mode", 0);
}

std::u16string InsertAtPosition::processName(const std::u16string& fragment, const std::string&,
                                             InputContext&) {
    if (paramPosition < 0 || static_cast<std::size_t>(paramPosition) > fragment.size())
        return fragment;
    const auto position = static_cast<std::size_t>(paramPosition);
    const std::size_t index = paramMode == 0 ? position : fragment.size() - position;
    if (!UnicodeText::isCodePointBoundary(fragment, index))
        return fragment;
    return fragment.substr(0, index) + paramText + fragment.substr(index);
}

} // namespace morvane
