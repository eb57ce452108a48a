#pragma once
// Reads and writes at an offset of a file, whole: a pread or pwrite that does less
// than asked (a signal, a very large request) is carried on.

#include <cstddef>
#include <cstdint>

namespace tessaly {

// Reads up to n bytes from offset on into target, fewer only where the file ends;
// the count read, or -1 with errno set.
std::int64_t ReadAt(int fd, void* target, std::size_t n, std::int64_t offset);

// Writes the n bytes at offset; false with errno set (ENOSPC when the system took
// none of what was left).
bool WriteAt(int fd, const void* data, std::size_t n, std::int64_t offset);

}  // namespace tessaly
