#pragma once
#include "MRVN7x/actions/sequence/InsertNumberInFrontOfExistingTextAction.h"

namespace morvane {

// "Insert number after existing text": as the action it derives from, but
// the number follows the found text directly.
class InsertNumberAfterExistingTextAction : public InsertNumberInFrontOfExistingTextAction {
public:
    static constexpr const char* kActionName = "Insert number after existing text";
    std::string actionName() const override { return kActionName; }

protected:
    // The end of the found text. Without regard to case a match may be longer
    // or shorter than the search term ('STRASSE' finds 'Straße'), so the
    // match's own end is used rather than the term's length.
    std::size_t insertionIndex(const TextRange& occurrence) const override;
};

} // namespace morvane
