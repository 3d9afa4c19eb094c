#include "MRVN7x/actions/InsertAtEndOfTextAction.h"

#include "MRVN7x/actions/ActionFactory.h"

namespace morvane {

static const ActionRegistration<InsertAtEndOfTextAction> registration;

std::size_t InsertAtEndOfTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.end();
}

} // namespace morvane
