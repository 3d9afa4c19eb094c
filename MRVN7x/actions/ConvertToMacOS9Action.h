#pragma once
#include "MRVN7x/actions/TruncateAction.h"

namespace morvane {

// "Convert to Mac OS 9": smart truncation to the 31 units of the classic Mac
// OS, whatever "number of characters" and "smart" say. No character is
// replaced.
class ConvertToMacOS9Action : public TruncateAction {
public:
    static constexpr const char* kActionName = "Convert to Mac OS 9";
    static constexpr std::int32_t kMaximumLength = 31;
    std::string actionName() const override { return kActionName; }
    void prepareParameters() override;
};

} // namespace morvane
