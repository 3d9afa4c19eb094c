#include "MRVN7x/actions/RemoveFromEndAction.h"

#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

std::u16string RemoveFromEndAction::processName(const std::u16string& fragment, const std::string&,
                                                InputContext&) {
    if (characters < 0)
        return fragment;
    const auto count = static_cast<std::size_t>(characters);
    if (count >= fragment.size())
        return {};
    const std::size_t keep = fragment.size() - count;
    if (!UnicodeText::isCodePointBoundary(fragment, keep))
        return fragment;
    return fragment.substr(0, keep);
}

} // namespace morvane
