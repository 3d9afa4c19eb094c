#include "MRVN7x/actions/ManualRenameAction.h"

namespace morvane {

plist::Dictionary ManualRenameAction::defaultParameters() const {
    // "select string" is absent until the user types one; it then reads as empty.
    auto params = BaseRenameAction::defaultParameters();
    params["replacement term"] = plist::Value("");
    params["ignore case"] = plist::Value(1);
    return params;
}

void ManualRenameAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramSelectString = getParamText("select string");
    paramMask = searchMaskForIgnoreCase(getParamInt("ignore case", 1));
}

std::u16string ManualRenameAction::processName(const std::u16string& fragment, const std::string&,
                                               InputContext&) {
    return fragment;
}

std::u16string ManualRenameAction::getTheSelectionString() {
    prepareParameters();
    return paramSelectString;
}

SearchOptions ManualRenameAction::getMask() {
    prepareParameters();
    return paramMask;
}

TextRange ManualRenameAction::preselectedRange(const std::u16string& text,
                                               const std::u16string& selection,
                                               SearchOptions mask) {
    if (auto found = UnicodeText::find(text, selection, mask & kCaseInsensitiveSearch))
        return *found;
    return TextRange{0, text.size()};
}

} // namespace morvane
