#include "MRVN7x/actions/RemoveAtFrontAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

plist::Dictionary RemoveAtFrontAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["number of characters"] = plist::Value(0);
    return params;
}

void RemoveAtFrontAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    characters = getParamInt("number of characters", 0);
}

std::u16string RemoveAtFrontAction::processName(const std::u16string& fragment, const std::string&,
                                                InputContext&) {
    if (characters < 0)
        return fragment;
    const auto count = static_cast<std::size_t>(characters);
    if (count >= fragment.size())
        return {};
    if (!UnicodeText::isCodePointBoundary(fragment, count))
        return fragment;
    return fragment.substr(count);
}

} // namespace morvane
