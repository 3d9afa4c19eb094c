#include "MRVN7x/actions/sequence/InsertNumberAfterExistingTextAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<InsertNumberAfterExistingTextAction> registration;

std::size_t InsertNumberAfterExistingTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.end();
}

} // namespace morvane
