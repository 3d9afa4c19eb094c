#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Remove at front": removes "number of characters" units from the front of
// the fragment; a count of the fragment's length or more empties it.
//
// A count that cannot apply leaves the fragment unchanged: a negative one
// (only a damaged settings file holds one) and one that would cut a surrogate
// pair in half.
class RemoveAtFrontAction : public BaseRenameAction {
public:
    bool namesItemsIndependently() const override { return true; }
    static constexpr const char* kActionName = "Remove at front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::int32_t characters = 0;
};

} // namespace morvane
