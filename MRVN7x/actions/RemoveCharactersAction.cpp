#include "MRVN7x/actions/RemoveCharactersAction.h"

namespace morvane {

plist::Dictionary RemoveCharactersAction::defaultParameters() const {
    auto params = ReplaceCharactersAction::defaultParameters();
    for (std::size_t pair = 0; pair < kPairs; ++pair)
        params[withKey(pair)] = plist::Value("");
    return params;
}

void RemoveCharactersAction::prepareParameters() {
    ReplaceCharactersAction::prepareParameters();
    for (auto& with : paramWithChars)
        with.clear();
}

} // namespace morvane
