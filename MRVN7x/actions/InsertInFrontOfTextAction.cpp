#include "MRVN7x/actions/InsertInFrontOfTextAction.h"

#include "MRVN7x/actions/text/OccurrenceFinder.h"

namespace morvane {

plist::Dictionary InsertInFrontOfTextAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["text"] = plist::Value("");
    params["search term"] = plist::Value("");
    params["mode"] = plist::Value(0);
    params["ignore case"] = plist::Value(1);
    return params;
}

void InsertInFrontOfTextAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramText = getParamText("text");
    paramSearchTerm = getParamText("search term");
    paramMode = getParamInt("mode", 0);
    paramMask = searchMaskForIgnoreCase(getParamInt("ignore case", 1));
}

std::int64_t InsertInFrontOfTextAction::findInsertionPoint(const std::u16string& name) const {
    return OccurrenceFinder::findStart(name, paramSearchTerm, paramMode, paramMask);
}

std::size_t InsertInFrontOfTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.location;
}

std::u16string InsertInFrontOfTextAction::processName(const std::u16string& fragment,
                                                      const std::string&, InputContext&) {
    const auto occurrence = OccurrenceFinder::find(fragment, paramSearchTerm, paramMode, paramMask);
    if (!occurrence)
        return fragment;
    const std::size_t index = insertionIndex(*occurrence);
    return fragment.substr(0, index) + paramText + fragment.substr(index);
}

} // namespace morvane
