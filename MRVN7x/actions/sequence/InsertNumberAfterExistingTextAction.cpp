#include "MRVN7x/actions/sequence/InsertNumberAfterExistingTextAction.h"

namespace morvane {

std::size_t InsertNumberAfterExistingTextAction::insertionIndex(const TextRange& occurrence) const {
    return occurrence.end();
}

} // namespace morvane
