#pragma once
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"

namespace morvane {

// "Insert number at position": the item's number inserted "position" UTF-16
// units from the start ("mode" 0) or from the end (any other "mode"). A
// position beyond the name leaves it unchanged.
class InsertNumberAtPositionAction : public SortNumberBasedAction {
public:
    static constexpr const char* kActionName = "Insert number at position";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using SortNumberBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t paramPosition = 0;
    std::int32_t paramMode = 0;
};

} // namespace morvane
