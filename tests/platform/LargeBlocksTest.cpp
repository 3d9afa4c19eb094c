#include "platform/LargeBlocks.h"

#include "tests/support/OwnAllocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <malloc.h>

namespace morvane {
namespace {

size_t mappedBytes() {
    return mallinfo2().hblkhd;
}

// Every large block goes back to the system when freed, the second and later
// ones too (left alone, the library would serve them from the heap once the
// first was freed, and keep them resident).
TEST(LargeBlocks, EachLargeBlockIsGivenBackWhenFreed) {
    if (!MORVANE_OWN_ALLOCATOR)
        GTEST_SKIP() << "the sanitizers' allocator keeps its own figures";
    LargeBlocks::returnToTheSystemWhenFreed();
    for (const size_t size :
         {size_t(1) << 20, size_t(1) << 20, size_t(300) << 10, size_t(4) << 20}) {
        const size_t before = mappedBytes();
        void* block = std::malloc(size);
        ASSERT_NE(block, nullptr);
        EXPECT_GE(mappedBytes(), before + size) << size;
        std::free(block);
        EXPECT_EQ(mappedBytes(), before) << size;
    }
}

} // namespace
} // namespace morvane
