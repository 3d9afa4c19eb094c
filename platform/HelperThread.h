#pragma once
// Long work over independent items, shared with one helper thread.
#include <algorithm>
#include <cstddef>
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

// Sorts [first, last) by before; from sharedFrom elements on, as two halves
// sorted on two threads and merged. Equal elements may end up in another
// order than one std::sort would give: before must break every tie, or the
// order of equal elements must not matter.
template <typename Iterator, typename Before>
void sortOnTwoThreads(Iterator first, Iterator last, Before before,
                      std::ptrdiff_t sharedFrom = 65536) {
    if (last - first < sharedFrom) {
        std::sort(first, last, before);
        return;
    }
    const Iterator middle = first + (last - first) / 2;
    withHelperThread([&] { std::sort(first, middle, before); },
                     [&] { std::sort(middle, last, before); });
    std::inplace_merge(first, middle, last, before);
}

} // namespace morvane
