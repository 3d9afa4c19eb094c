#include "MRVN7x/metadata/AddDimensionsToFrontAction.h"

namespace morvane {

std::u16string AddDimensionsToFrontAction::placed(const std::u16string& dimensions,
                                                  const std::u16string& fragment) const {
    return dimensions + fragment;
}

} // namespace morvane
