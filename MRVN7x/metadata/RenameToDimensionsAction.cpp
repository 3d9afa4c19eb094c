#include "MRVN7x/metadata/RenameToDimensionsAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<RenameToDimensionsAction> registration;

} // namespace morvane
