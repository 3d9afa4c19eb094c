#include "MRVN7x/actions/InsertAtEndOfTextAction.h"

namespace morvane {

std::size_t InsertAtEndOfTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.end();
}

} // namespace morvane
