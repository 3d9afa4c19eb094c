#include "MRVN7x/metadata/AddDimensionsToFrontAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<AddDimensionsToFrontAction> registration;

std::u16string AddDimensionsToFrontAction::placed(const std::u16string& dimensions,
                                                  const std::u16string& fragment) const {
    return dimensions + fragment;
}

} // namespace morvane
