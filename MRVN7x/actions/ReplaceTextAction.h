#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/text/UnicodeText.h"

namespace morvane {

// "Replace text": replaces chosen occurrences of "search term" by
// "replacement term". The occurrences are collected from left to right
// without overlap; "replacement mode" picks which of them are replaced:
//     0        all of them
//     1 to 6   only the first ... the sixth
//     7 up     only the last (7), the second to last (8), ...
// The ones counted from the end come from that same left-to-right list, so in
// 'aaa' the last 'aa' starts at 0 (the occurrence finder would say 1).
// A mode whose occurrence does not exist, or a negative mode, changes nothing.
class ReplaceTextAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Replace text";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // Whether occurrence index (from 0) of count is replaced in the current mode.
    bool shouldReplaceCurrentOccurence(std::size_t index, std::size_t count) const;
    // The units of text from from up to, not including, to (cut to the text).
    static std::u16string extractChunkFrom(const std::u16string& text, std::size_t from,
                                           std::size_t to);

    // The current settings in words, for the action's description.
    std::string userDescriptionOccurence() const;
    std::string userDescriptionIgnore() const;

protected:
    std::u16string paramSearchTerm;
    std::u16string paramReplacementTerm;
    std::int32_t paramReplacementMode = 0;
    SearchOptions paramMask = kCaseInsensitiveSearch;
};

} // namespace morvane
