#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"

namespace morvane {

// "Add folder name to front": puts the display name of the folder that holds
// the item in front of the fragment, followed by one space when "trailing
// space" is non-zero.
class AddFolderNameAtFront : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Add folder name to front";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;
    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

    // The display name of the component before the last one of path, the root
    // "/" counting as the first component: "/" for an item in the root folder,
    // empty for a path of one component. Every ":" shows as "/"; bytes that are
    // not UTF-8 are kept (as PathText escapes them).
    static std::u16string folderDisplayName(const std::string& path);

protected:
    std::int32_t paramTrailingSpace = 1;
};

} // namespace morvane
