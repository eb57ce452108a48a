#include "input/positioned_io.h"

#include <cerrno>
#include <unistd.h>

namespace tessaly {

std::int64_t ReadAt(int fd, void* target, std::size_t n, std::int64_t offset) {
    auto* to = static_cast<char*>(target);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, to + done, n - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool WriteAt(int fd, const void* data, std::size_t n, std::int64_t offset) {
    const auto* from = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::pwrite(fd, from + done, n - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            if (put == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace tessaly
