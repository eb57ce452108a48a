#pragma once
// A zip archive written front to back into an open file: entries are either
// stored whole or streamed as raw deflate data whose sizes and checksum are
// patched into the local header when the entry ends. Zip64 fields appear
// where a size or an offset passes 4 GB or the entries pass 65535.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class ZipArchive {
public:
    // The file must be open for writing (and seeking) at its start.
    explicit ZipArchive(std::FILE* file);

    // Every function returns false when a write fails, with errno set.
    bool AddStored(const std::string& name, std::string_view bytes);
    // Starts a deflated entry; its compressed bytes follow through WriteData.
    bool BeginDeflated(const std::string& name);
    bool WriteData(const void* bytes, std::size_t size);
    bool EndDeflated(std::uint32_t crc, std::uint64_t uncompressedSize);
    // Writes the central directory; the archive is complete afterwards.
    bool Finish();

private:
    struct Entry {
        std::string name;
        std::uint16_t method = 0;
        std::uint32_t crc = 0;
        std::uint64_t compressedSize = 0;
        std::uint64_t size = 0;
        std::uint64_t offset = 0;
    };
    // From "version needed" to the name's length: the local and the central headers alike.
    void AppendSharedFields(std::vector<unsigned char>& header, const Entry& entry, bool zip64) const;
    bool WriteLocalHeader(const Entry& entry);
    bool Put(const std::vector<unsigned char>& bytes);

    std::FILE* file_;
    std::uint64_t position_ = 0;
    std::uint16_t dosTime_ = 0;
    std::uint16_t dosDate_ = 0;
    std::vector<Entry> entries_;
};

// The zip (and gzip) checksum of bytes, continued from crc.
std::uint32_t ZipCrc(std::uint32_t crc, const void* bytes, std::size_t size);

}  // namespace tessaly
