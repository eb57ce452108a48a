#pragma once
// A stable sort of 64-bit keys on some of their bytes, a byte at a time from the
// lowest: a few passes over memory instead of n log n comparisons.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessaly {

// Sorts keys on bytes [fromByte, toByte) (0 is the lowest); keys equal there keep
// their order. spare holds at least as many keys. Bytes that every key shares cost
// one counting pass and no move.
inline void RadixSort(std::span<std::uint64_t> keys, std::span<std::uint64_t> spare, int fromByte = 0, int toByte = 8) {
    const std::size_t n = keys.size();
    if (n < 2) return;
    std::uint64_t* from = keys.data();
    std::uint64_t* to = spare.data();
    for (int byte = fromByte; byte < toByte; ++byte) {
        const int shift = 8 * byte;
        std::size_t count[257] = {};
        for (std::size_t i = 0; i < n; ++i) ++count[(from[i] >> shift & 0xFF) + 1];
        if (count[(from[0] >> shift & 0xFF) + 1] == n) continue;
        for (int b = 0; b < 256; ++b) count[b + 1] += count[b];
        for (std::size_t i = 0; i < n; ++i) to[count[from[i] >> shift & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != keys.data()) std::copy(from, from + n, keys.data());
}

}  // namespace tessaly
