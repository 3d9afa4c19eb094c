#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Truncate to DOS": cuts the fragment to the 8.3 form. With a "." the result
// is at most 8 units from before the last dot, the dot, and at most 3 units
// after it; without one, at most the first 8 units. Characters and case are
// kept. A cut never splits a surrogate pair (that part keeps one unit less),
// so the result always fits 8.3.
class TruncateToDOSAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Truncate to DOS";
    static constexpr std::size_t kBaseLength = 8;
    static constexpr std::size_t kExtensionLength = 3;
    std::string actionName() const override { return kActionName; }
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;
};

} // namespace morvane
