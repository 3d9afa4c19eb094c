#pragma once
#include "MRVN7x/metadata/DimensionsAction.h"

namespace morvane {

// "Add dimensions to end": puts the size text after the fragment (no space: the leading and
// trailing texts separate).
class AddDimensionsToEndAction : public DimensionsAction {
public:
    static constexpr const char* kActionName = "Add dimensions to end";
    std::string actionName() const override { return kActionName; }

protected:
    std::u16string placed(const std::u16string& dimensions,
                          const std::u16string& fragment) const override;
};

} // namespace morvane
