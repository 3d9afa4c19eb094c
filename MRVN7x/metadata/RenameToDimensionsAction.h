#pragma once
#include "MRVN7x/metadata/DimensionsAction.h"

namespace morvane {

// "Rename to dimensions": replaces the fragment by the size text, as
// "Add dimensions" does.
class RenameToDimensionsAction : public DimensionsAction {
public:
    static constexpr const char* kActionName = "Rename to dimensions";
    std::string actionName() const override { return kActionName; }
};

} // namespace morvane
