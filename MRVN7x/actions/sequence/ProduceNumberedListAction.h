#pragma once
#include "MRVN7x/actions/sequence/SortNumberBasedAction.h"

namespace morvane {

// "Produce numbered list": "prefix", the item's number, "suffix"; the name is dropped.
class ProduceNumberedListAction : public SortNumberBasedAction {
public:
    static constexpr const char* kActionName = "Produce numbered list";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using SortNumberBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::u16string paramPrefix;
    std::u16string paramSuffix;
};

} // namespace morvane
