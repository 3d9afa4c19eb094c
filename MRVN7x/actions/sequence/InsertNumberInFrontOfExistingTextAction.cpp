#include "MRVN7x/actions/sequence/InsertNumberInFrontOfExistingTextAction.h"

#include "MRVN7x/actions/text/OccurrenceFinder.h"

namespace morvane {

plist::Dictionary InsertNumberInFrontOfExistingTextAction::defaultParameters() const {
    auto params = SortNumberBasedAction::defaultParameters();
    params["search term"] = plist::Value("");
    params["mode"] = plist::Value(0);
    params["ignore case"] = plist::Value(1);
    return params;
}

void InsertNumberInFrontOfExistingTextAction::prepareParameters() {
    SortNumberBasedAction::prepareParameters();
    paramSearchTerm = getParamText("search term");
    paramMode = getParamInt("mode", 0);
    paramMask = searchMaskForIgnoreCase(getParamInt("ignore case", 0));
}

std::int64_t
InsertNumberInFrontOfExistingTextAction::findInsertionPoint(const std::u16string& name) const {
    return OccurrenceFinder::findStart(name, paramSearchTerm, paramMode, paramMask);
}

std::size_t
InsertNumberInFrontOfExistingTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.location;
}

std::u16string InsertNumberInFrontOfExistingTextAction::processName(const std::u16string& fragment,
                                                                    const std::string&,
                                                                    InputContext& input) {
    const auto number = getFormattedNumberString(input);
    if (!number)
        return fragment;
    const auto occurrence = OccurrenceFinder::find(fragment, paramSearchTerm, paramMode, paramMask);
    if (!occurrence)
        return fragment;
    const std::size_t index = insertionIndex(*occurrence);
    return fragment.substr(0, index) + *number + fragment.substr(index);
}

} // namespace morvane
