#pragma once
#include "MRVN7x/metadata/DimensionsAction.h"

namespace morvane {

// "Add dimensions to start": puts the size text in front of the fragment (no space: the leading and
// trailing texts separate).
class AddDimensionsToFrontAction : public DimensionsAction {
public:
    static constexpr const char* kActionName = "Add dimensions to start";
    std::string actionName() const override { return kActionName; }

protected:
    std::u16string placed(const std::u16string& dimensions,
                          const std::u16string& fragment) const override;
};

} // namespace morvane
