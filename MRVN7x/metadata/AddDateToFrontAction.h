#pragma once
#include "MRVN7x/metadata/RenameToDateAction.h"

namespace morvane {

// "Add date to front": the formatted date, with "trailing space" one space,
// then the fragment. An item without the date keeps its name.
class AddDateToFrontAction : public RenameToDateAction {
public:
    static constexpr const char* kActionName = "Add date to front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using RenameToDateAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t paramTrailingSpace = 1;
};

} // namespace morvane
