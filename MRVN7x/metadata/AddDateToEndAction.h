#pragma once
#include "MRVN7x/metadata/RenameToDateAction.h"

namespace morvane {

// "Add date to end": the fragment, with "leading space" one space, then the
// formatted date. An item without the date keeps its name.
class AddDateToEndAction : public RenameToDateAction {
public:
    static constexpr const char* kActionName = "Add date to end";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using RenameToDateAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t paramLeadingSpace = 1;
};

} // namespace morvane
