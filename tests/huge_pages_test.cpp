// Large buffers on huge page boundaries, and what they hold as they grow.

#include "input/huge_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace tessaly {
namespace {

TEST(HugePages, LargeBlocksStartOnHugePagesAndKeepTheirContentAsTheyGrow) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    HugePageVector<std::uint32_t> values;
    // Through the small heap blocks, past the threshold, and past one huge page.
    for (const std::size_t size : {std::size_t{10}, kHugePageBlock / 4 - 1, kHugePageBlock / 4, std::size_t{3} << 20}) {
        const std::size_t before = values.size();
        values.resize(size);
        std::iota(values.begin() + static_cast<std::ptrdiff_t>(before), values.end(), static_cast<std::uint32_t>(before));
        for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(values[i], i) << "size " << size;
        const bool large = values.capacity() * sizeof(std::uint32_t) >= kHugePageBlock;
        EXPECT_EQ(large, reinterpret_cast<std::uintptr_t>(values.data()) % kHugePage == 0) << "size " << size;
    }
    values.shrink_to_fit();
    EXPECT_EQ(values.back(), (3u << 20) - 1);
}

// What resize() adds is zero, also where the block is reused: the small blocks come
// from the ordinary heap, which does not clear them.
TEST(HugePages, ResizeGivesZeros) {
    for (const std::size_t size : {std::size_t{1000}, kHugePageBlock}) {
        HugePageVector<unsigned char> bytes(size, 0xAB);
        bytes.clear();
        bytes.resize(size);
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0), static_cast<std::ptrdiff_t>(size)) << "size " << size;
    }
}

}  // namespace
}  // namespace tessaly
