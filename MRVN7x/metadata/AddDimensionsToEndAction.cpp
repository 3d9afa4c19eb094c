#include "MRVN7x/metadata/AddDimensionsToEndAction.h"

namespace morvane {

std::u16string AddDimensionsToEndAction::placed(const std::u16string& dimensions,
                                                const std::u16string& fragment) const {
    return fragment + dimensions;
}

} // namespace morvane
