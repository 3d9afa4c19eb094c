#include "MRVN7x/actions/ReplaceAtEndAction.h"

namespace morvane {

std::u16string ReplaceAtEndAction::processName(const std::u16string& fragment, const std::string&,
                                               InputContext&) {
    auto match = UnicodeText::find(fragment, paramReplace,
                                   subRangeMask | kAnchoredSearch | kBackwardsSearch);
    if (!match)
        return fragment;
    return fragment.substr(0, match->location) + paramWith;
}

} // namespace morvane
