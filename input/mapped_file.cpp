#include "input/mapped_file.h"

#include <algorithm>
#include <sys/mman.h>

namespace tessaly {

namespace {

// The system maps pages around a touched one in blocks of up to this size, so a
// touch is counted as its whole block.
constexpr int kBlockShift = 16;

}  // namespace

bool MappedFile::Map(int fd, std::int64_t size, std::size_t residentBudget) {
    Close();
    size_ = size;
    if (size == 0) return true;
    void* p = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
        size_ = 0;
        return false;
    }
    data_ = static_cast<unsigned char*>(p);
    budgetBlocks_ = std::max<std::size_t>(1, residentBudget >> kBlockShift);
    const auto blocks = static_cast<std::size_t>((size - 1) >> kBlockShift) + 1;
    touched_.assign((blocks + 63) / 64, 0);
    touchedBlocks_ = 0;
    return true;
}

void MappedFile::Close() {
    if (data_ != nullptr) munmap(data_, static_cast<std::size_t>(size_));
    data_ = nullptr;
    size_ = 0;
    touched_.clear();
    touchedBlocks_ = 0;
}

void MappedFile::Release() {
    madvise(data_, static_cast<std::size_t>(size_), MADV_DONTNEED);
    std::fill(touched_.begin(), touched_.end(), 0);
    touchedBlocks_ = 0;
}

const unsigned char* MappedFile::At(std::int64_t offset, std::size_t length) {
    if (data_ == nullptr) return nullptr;
    const auto first = static_cast<std::size_t>(offset >> kBlockShift);
    const auto last = static_cast<std::size_t>((offset + static_cast<std::int64_t>(length > 0 ? length - 1 : 0)) >> kBlockShift);
    std::size_t fresh = 0;
    for (std::size_t b = first; b <= last; ++b)
        if ((touched_[b / 64] >> (b % 64) & 1) == 0) ++fresh;
    if (fresh > 0) {
        if (touchedBlocks_ + fresh > budgetBlocks_ && touchedBlocks_ > 0) Release();
        for (std::size_t b = first; b <= last; ++b) {
            const std::uint64_t bit = std::uint64_t{1} << (b % 64);
            if ((touched_[b / 64] & bit) == 0) {
                touched_[b / 64] |= bit;
                ++touchedBlocks_;
            }
        }
    }
    return data_ + offset;
}

void MappedFile::AdviseSequential() {
    if (data_ != nullptr) madvise(data_, static_cast<std::size_t>(size_), MADV_SEQUENTIAL);
}

}  // namespace tessaly
