#include "MRVN7x/metadata/DimensionsAction.h"

#include "MRVN7x/actions/FileInformation.h"
#include "platform/PathText.h"

#include <cmath>
#include <limits>

namespace morvane {

namespace {

enum Choice { kWidth = 1, kHeight = 2 };

// A size as a whole decimal number, cut towards zero.
std::u16string wholeNumber(float value) {
    constexpr float largest = static_cast<float>(std::numeric_limits<std::int32_t>::max());
    const float whole = std::trunc(value);
    if (!(std::fabs(whole) < largest)) // far beyond any image, or not a number
        return u"";
    return toU16(std::to_string(static_cast<std::int32_t>(whole)));
}

} // namespace

std::u16string DimensionsAction::numberText(std::int32_t choice, const PixelSize& size) {
    switch (choice) {
    case kWidth:
        return wholeNumber(size.width);
    case kHeight:
        return wholeNumber(size.height);
    default:
        return u"";
    }
}

plist::Dictionary DimensionsAction::defaultParameters() const {
    auto params = BaseRenameAction::defaultParameters();
    params["firstDimensionChoice"] = plist::Value(1);
    params["secondDimensionChoice"] = plist::Value(2);
    params["leadingCharacter"] = plist::Value("_");
    params["separationCharacter"] = plist::Value("x");
    params["trailingCharacter"] = plist::Value("");
    return params;
}

void DimensionsAction::prepareParameters() {
    BaseRenameAction::prepareParameters();
    paramFirstDimensionChoice = getParamInt("firstDimensionChoice", 0);
    paramSecondDimensionChoice = getParamInt("secondDimensionChoice", 0);
    paramLeadingCharacter = getParamText("leadingCharacter");
    paramSeparationCharacter = getParamText("separationCharacter");
    paramTrailingCharacter = getParamText("trailingCharacter");
}

std::optional<std::u16string> DimensionsAction::formattedDimensionsString(const std::string& path,
                                                                          FileInformation& files) {
    prepareParametersIfChanged();
    const PixelSize size = files.fileEXIFDimensions(path);
    if (size.width == -1) // the service gives -1 by -1 for an unknown size
        return std::nullopt;
    return paramLeadingCharacter + numberText(paramFirstDimensionChoice, size) +
           paramSeparationCharacter + numberText(paramSecondDimensionChoice, size) +
           paramTrailingCharacter;
}

std::u16string DimensionsAction::processName(const std::u16string& fragment,
                                             const std::string& path, InputContext& input) {
    const auto dimensions = formattedDimensionsString(path, input.files());
    return dimensions ? placed(*dimensions, fragment) : fragment;
}

std::u16string DimensionsAction::placed(const std::u16string& dimensions,
                                        const std::u16string&) const {
    return dimensions;
}

} // namespace morvane
