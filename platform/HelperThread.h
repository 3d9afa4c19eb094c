#pragma once
// Long work over independent items, shared with one helper thread.
#include <exception>
#include <thread>

namespace morvane {

// Runs helperPart() on a helper thread while ownPart() runs on this one and
// returns once both are done, so nothing the parts use outlives the call. A
// failure of the helper is thrown here after the own part; a failure of the
// own part waits for the helper first.
template <typename Own, typename Helper> void withHelperThread(Own&& ownPart, Helper&& helperPart) {
    std::exception_ptr helperFailure;
    {
        std::jthread helper([&] {
            try {
                helperPart();
            } catch (...) {
                helperFailure = std::current_exception();
            }
        });
        ownPart();
    }
    if (helperFailure)
        std::rethrow_exception(helperFailure);
}

} // namespace morvane
