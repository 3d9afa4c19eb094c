#include "MRVN7x/actions/RemoveTrailingSpacesAction.h"

namespace morvane {

std::u16string RemoveTrailingSpacesAction::processName(const std::u16string& fragment,
                                                       const std::string&, InputContext&) {
    std::u16string name = fragment;
    while (!name.empty() && name.back() == u' ')
        name.pop_back();
    return name;
}

} // namespace morvane
