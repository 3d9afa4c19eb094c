#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Insert at position": inserts "text" so that "position" units of the
// fragment stay in front of it ("mode" 0) or behind it (any other "mode").
// A position past the end leaves the fragment unchanged (no clamping); so do
// a negative position and one that falls inside a surrogate pair.
class InsertAtPosition : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Insert at position";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t paramPosition = 0;
    std::int32_t paramMode = 0;
    std::u16string paramText;
};

} // namespace morvane
