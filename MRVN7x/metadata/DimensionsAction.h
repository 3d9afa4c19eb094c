#pragma once
#include "MRVN7x/actions/BaseRenameAction.h"
#include "MRVN7x/actions/FileInformation.h"

#include <optional>

namespace morvane {

// "Add dimensions": replaces the fragment by the pixel size of the image,
// "leadingCharacter" + first number + "separationCharacter" + second number +
// "trailingCharacter" (with the defaults _1600x1200). Each choice picks the
// number: 1 width, 2 height, anything else none. The size comes from the shared
// attribute service; items without one keep their names. The three subclasses
// differ only in where the text goes.
class DimensionsAction : public BaseRenameAction {
public:
    static constexpr const char* kActionName = "Add dimensions";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    void prepareParameters() override;

    // The size text of the item by the current parameters, or nothing when its
    // size is unknown.
    std::optional<std::u16string> formattedDimensionsString(const std::string& path,
                                                            FileInformation& files);

    // The number a choice picks (1 width, 2 height) as a whole decimal number,
    // cut towards zero; the empty text for any other choice.
    static std::u16string numberText(std::int32_t choice, const PixelSize& size);

    using BaseRenameAction::processName;
    std::u16string processName(const std::u16string& fragment, const std::string& path,
                               InputContext& input) override;

protected:
    // Where the size text goes: here it replaces the fragment.
    virtual std::u16string placed(const std::u16string& dimensions,
                                  const std::u16string& fragment) const;

    std::int32_t paramFirstDimensionChoice = 0;
    std::int32_t paramSecondDimensionChoice = 0;
    std::u16string paramLeadingCharacter;
    std::u16string paramSeparationCharacter;
    std::u16string paramTrailingCharacter;
};

} // namespace morvane
