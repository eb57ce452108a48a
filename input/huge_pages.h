#pragma once
// Large buffers asked of the system in huge pages where it offers them (Linux's
// transparent huge pages "madvise" mode): the first touch of each 2 MB then costs
// one page fault instead of 512, and on virtual machines a fault is dear.

#include <cstddef>
#include <vector>

namespace tessaly {

// Advises huge pages for the whole 2 MB pages inside [data, data + bytes); a hint
// that changes nothing but speed, and is ignored where it is not offered.
void AdviseHugePages(void* data, std::size_t bytes);

// Reserves room for n elements of a vector that is about to be filled, in huge pages.
template <class T>
void ReserveInHugePages(std::vector<T>& v, std::size_t n) {
    v.reserve(n);
    AdviseHugePages(v.data(), v.capacity() * sizeof(T));
}

}  // namespace tessaly
