#pragma once
#include "MRVN7x/actions/sequence/AlphabeticalListBasedAction.h"

namespace morvane {

// "Add alphabetical sequence to end": the name, then the item's letters.
class AddAlphabeticalSequenceToEndAction : public AlphabeticalListBasedAction {
public:
    static constexpr const char* kActionName = "Add alphabetical sequence to end";
    std::string actionName() const override { return kActionName; }
    using AlphabeticalListBasedAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
