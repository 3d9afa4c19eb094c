#pragma once
#include "MRVN7x/actions/sequence/AlphabeticalListBasedAction.h"

namespace morvane {

// "Produce alphabetical list": "prefix", the item's letters, "suffix"; the name is dropped.
class ProduceAlphabeticalListAction : public AlphabeticalListBasedAction {
public:
    static constexpr const char* kActionName = "Produce alphabetical list";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using AlphabeticalListBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    std::u16string paramPrefix;
    std::u16string paramSuffix;
};

} // namespace morvane
