#include "platform/LargeBlocks.h"

#include <malloc.h>

namespace morvane::LargeBlocks {

void returnToTheSystemWhenFreed() {
    constexpr int kThreshold = 256 * 1024;
    // Setting it also stops the library from moving it.
    mallopt(M_MMAP_THRESHOLD, kThreshold);
}

} // namespace morvane::LargeBlocks
