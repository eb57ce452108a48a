#include "input/huge_pages.h"

#include <cstdint>
#include <sys/mman.h>

namespace tessaly {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t WholeHugePages(std::size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateHugePages(std::size_t bytes) {
    const std::size_t size = WholeHugePages(bytes);
    if (size < bytes) throw std::bad_alloc();
    // Mapped with a huge page to spare, and the spare cut off on both sides, so that
    // the block starts on a 2 MB boundary.
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t block = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (block > start) munmap(mapped, block - start);
    if (const std::size_t after = kHugePage - (block - start); after > 0)
        munmap(reinterpret_cast<void*>(block + size), after);
    madvise(reinterpret_cast<void*>(block), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(block);
}

void FreeHugePages(void* block, std::size_t bytes) noexcept { munmap(block, WholeHugePages(bytes)); }

}  // namespace tessaly
