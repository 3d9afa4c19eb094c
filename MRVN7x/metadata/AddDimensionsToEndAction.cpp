#include "MRVN7x/metadata/AddDimensionsToEndAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<AddDimensionsToEndAction> registration;

std::u16string AddDimensionsToEndAction::placed(const std::u16string& dimensions,
                                                const std::u16string& fragment) const {
    return fragment + dimensions;
}

} // namespace morvane
