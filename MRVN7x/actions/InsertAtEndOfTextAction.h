#pragma once
#include "MRVN7x/actions/InsertInFrontOfTextAction.h"

namespace morvane {

// "Insert at end of text": inserts "text" right after the chosen occurrence of
// "search term". The end is where the matched text ends in the name, which
// differs from start + length of "search term" when a case-insensitive match
// has another length ('STRASSE' matching 'Straße').
class InsertAtEndOfTextAction : public InsertInFrontOfTextAction {
public:
    static constexpr const char* kActionName = "Insert at end of text";
    std::string actionName() const override { return kActionName; }

protected:
    std::size_t insertionIndex(const TextRange& occurrence) const override;
};

} // namespace morvane
