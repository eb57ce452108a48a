#pragma once
// Large buffers in huge pages where the system offers them (Linux's transparent
// huge pages in "madvise" mode): the first touch of each 2 MB then costs one page
// fault instead of 512, and on virtual machines a fault is dear.

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace tessaly {

// Blocks from this size on are whole huge pages of their own: one fault for 2 MB
// costs less than the 64 faults of a quarter of it.
constexpr std::size_t kHugePageBlock = std::size_t{1} << 18;

// A block of at least `bytes` (kHugePageBlock or more) on 2 MB boundaries, advised
// as huge pages; throws std::bad_alloc. FreeHugePages takes the same size back.
void* AllocateHugePages(std::size_t bytes);
void FreeHugePages(void* block, std::size_t bytes) noexcept;

// Puts the large blocks of a container in huge pages. The elements are made as
// std::allocator makes them: resize() gives zeros, whichever branch the block came from.
template <class T>
struct HugePageAllocator {
    using value_type = T;
    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n * sizeof(T) < kHugePageBlock) return std::allocator<T>().allocate(n);
        return static_cast<T*>(AllocateHugePages(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) < kHugePageBlock) std::allocator<T>().deallocate(p, n);
        else FreeHugePages(p, n * sizeof(T));
    }
    template <class U>
    bool operator==(const HugePageAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using HugePageVector = std::vector<T, HugePageAllocator<T>>;

}  // namespace tessaly
