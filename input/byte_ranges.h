#pragma once
// Many small pieces of a file read with few system calls: in file order, and
// pieces that lie close together read in one call across the gap between them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

struct ByteRange {
    std::int64_t offset = 0;
    std::size_t size = 0;
};

// One read: ranges [first, last) of the sorted list, which lie in [offset, offset + size).
struct GroupedRead {
    std::size_t first = 0, last = 0;
    std::int64_t offset = 0;
    std::size_t size = 0;
};

// Groups ranges sorted by offset into reads: the next range joins the current read
// while the gap before it is at most maxGap bytes and the read stays within maxRead
// bytes; a range longer than maxRead is a read of its own.
std::vector<GroupedRead> GroupReads(std::span<const ByteRange> sorted, std::size_t maxGap, std::size_t maxRead);

}  // namespace tessaly
