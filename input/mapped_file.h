#pragma once
// A file read through a read-only memory map, so that a record costs no system call.
// The pages a run has touched count towards its resident memory; once they pass a
// budget they are handed back to the system (they stay in its file cache and come
// back on the next touch), so memory stays bounded however large the file is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

class MappedFile {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t{16} << 20;

    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the open file descriptor's whole file (a file of 0 bytes maps nothing);
    // false, with errno set, when it cannot be mapped. The descriptor may be closed
    // afterwards.
    bool Map(int fd, std::int64_t size, std::size_t residentBudget = kDefaultBudget);
    void Close();

    std::int64_t Size() const { return size_; }
    bool IsMapped() const { return data_ != nullptr || size_ == 0; }

    // The bytes [offset, offset + length); the caller has checked they lie inside
    // the file. Valid until Close, also after the pages were handed back.
    const unsigned char* At(std::int64_t offset, std::size_t length);

    // Reading in file order: the system reads ahead, and touched pages go back early.
    void AdviseSequential();

private:
    void Release();

    unsigned char* data_ = nullptr;
    std::int64_t size_ = 0;
    std::size_t budgetBlocks_ = 0;
    std::size_t touchedBlocks_ = 0;
    std::vector<std::uint64_t> touched_;  // one bit per block touched since the last release
};

}  // namespace tessaly
