#include "engine/zip_archive.h"

#include "input/byte_order.h"

#include <isa-l/crc.h>

#include <algorithm>
#include <ctime>

namespace tessaly {

namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;
constexpr std::uint16_t kUtf8Names = 1 << 11;
constexpr std::uint16_t kStored = 0, kDeflated = 8;
constexpr std::uint16_t kVersion = 20, kVersionZip64 = 45;
// Made on Unix, so that readers take the external attributes as a mode.
constexpr std::uint16_t kMadeOnUnix = 3 << 8;
// A streamed entry's local header always carries a Zip64 field: its sizes are
// unknown when it is written. Readers use the field only where a 32-bit size is
// all ones, which is written only when the size does not fit.
constexpr std::uint16_t kZip64Tag = 0x0001;
constexpr std::size_t kLocalZip64Size = 20;

std::uint32_t Clamp32(std::uint64_t value) { return value >= kMax32 ? kMax32 : static_cast<std::uint32_t>(value); }

}  // namespace

std::uint32_t ZipCrc(std::uint32_t crc, const void* bytes, std::size_t size) {
    return crc32_gzip_refl(crc, static_cast<const unsigned char*>(bytes), size);
}

ZipArchive::ZipArchive(std::FILE* file) : file_(file) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    dosTime_ = static_cast<std::uint16_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    dosDate_ = static_cast<std::uint16_t>(std::max(local.tm_year - 80, 0) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
}

bool ZipArchive::Put(const std::vector<unsigned char>& bytes) { return WriteData(bytes.data(), bytes.size()); }

void ZipArchive::AppendSharedFields(std::vector<unsigned char>& h, const Entry& entry, bool zip64) const {
    AppendLE(h, zip64 ? kVersionZip64 : kVersion, 2);
    AppendLE(h, kUtf8Names, 2);
    AppendLE(h, entry.method, 2);
    AppendLE(h, dosTime_, 2);
    AppendLE(h, dosDate_, 2);
    AppendLE(h, entry.crc, 4);
    AppendLE(h, Clamp32(entry.compressedSize), 4);
    AppendLE(h, Clamp32(entry.size), 4);
    AppendLE(h, entry.name.size(), 2);
}

bool ZipArchive::WriteLocalHeader(const Entry& entry) {
    const bool streamed = entry.method == kDeflated;
    const bool zip64 = entry.size >= kMax32 || entry.compressedSize >= kMax32;
    std::vector<unsigned char> h;
    AppendLE(h, 0x04034b50, 4);
    AppendSharedFields(h, entry, zip64);
    AppendLE(h, streamed ? kLocalZip64Size : 0, 2);
    h.insert(h.end(), entry.name.begin(), entry.name.end());
    if (streamed) {
        AppendLE(h, kZip64Tag, 2);
        AppendLE(h, 16, 2);
        AppendLE(h, entry.size, 8);
        AppendLE(h, entry.compressedSize, 8);
    }
    return Put(h);
}

bool ZipArchive::AddStored(const std::string& name, std::string_view bytes) {
    Entry entry{name, kStored, ZipCrc(0, bytes.data(), bytes.size()), bytes.size(), bytes.size(), position_};
    entries_.push_back(entry);
    return WriteLocalHeader(entry) && WriteData(bytes.data(), bytes.size());
}

bool ZipArchive::BeginDeflated(const std::string& name) {
    entries_.push_back(Entry{name, kDeflated, 0, 0, 0, position_});
    return WriteLocalHeader(entries_.back());
}

bool ZipArchive::WriteData(const void* bytes, std::size_t size) {
    if (size != 0 && std::fwrite(bytes, 1, size, file_) != size) return false;
    position_ += size;
    return true;
}

bool ZipArchive::EndDeflated(std::uint32_t crc, std::uint64_t uncompressedSize) {
    Entry& entry = entries_.back();
    entry.crc = crc;
    entry.size = uncompressedSize;
    entry.compressedSize = position_ - entry.offset - 30 - entry.name.size() - kLocalZip64Size;
    const std::uint64_t end = position_;
    position_ = entry.offset;
    if (std::fseek(file_, static_cast<long>(entry.offset), SEEK_SET) != 0 || !WriteLocalHeader(entry)) return false;
    position_ = end;
    return std::fseek(file_, static_cast<long>(end), SEEK_SET) == 0;
}

bool ZipArchive::Finish() {
    const std::uint64_t directoryStart = position_;
    for (const Entry& entry : entries_) {
        std::vector<unsigned char> zip64;
        if (entry.size >= kMax32) AppendLE(zip64, entry.size, 8);
        if (entry.compressedSize >= kMax32) AppendLE(zip64, entry.compressedSize, 8);
        if (entry.offset >= kMax32) AppendLE(zip64, entry.offset, 8);
        std::vector<unsigned char> h;
        AppendLE(h, 0x02014b50, 4);
        AppendLE(h, kMadeOnUnix | kVersionZip64, 2);
        AppendSharedFields(h, entry, !zip64.empty());
        AppendLE(h, zip64.empty() ? 0 : zip64.size() + 4, 2);
        AppendLE(h, 0, 2);  // comment
        AppendLE(h, 0, 2);  // disk
        AppendLE(h, 0, 2);  // internal attributes
        AppendLE(h, std::uint64_t{0100644} << 16, 4);
        AppendLE(h, Clamp32(entry.offset), 4);
        h.insert(h.end(), entry.name.begin(), entry.name.end());
        if (!zip64.empty()) {
            AppendLE(h, kZip64Tag, 2);
            AppendLE(h, zip64.size(), 2);
            h.insert(h.end(), zip64.begin(), zip64.end());
        }
        if (!Put(h)) return false;
    }
    const std::uint64_t directoryEnd = position_;
    const std::uint64_t directorySize = directoryEnd - directoryStart;
    const std::uint64_t count = entries_.size();
    std::vector<unsigned char> end;
    if (count >= 0xFFFF || directoryStart >= kMax32 || directorySize >= kMax32) {
        AppendLE(end, 0x06064b50, 4);
        AppendLE(end, 44, 8);
        AppendLE(end, kMadeOnUnix | kVersionZip64, 2);
        AppendLE(end, kVersionZip64, 2);
        AppendLE(end, 0, 4);
        AppendLE(end, 0, 4);
        AppendLE(end, count, 8);
        AppendLE(end, count, 8);
        AppendLE(end, directorySize, 8);
        AppendLE(end, directoryStart, 8);
        AppendLE(end, 0x07064b50, 4);
        AppendLE(end, 0, 4);
        AppendLE(end, directoryEnd, 8);
        AppendLE(end, 1, 4);
    }
    AppendLE(end, 0x06054b50, 4);
    AppendLE(end, 0, 2);
    AppendLE(end, 0, 2);
    AppendLE(end, count >= 0xFFFF ? 0xFFFF : count, 2);
    AppendLE(end, count >= 0xFFFF ? 0xFFFF : count, 2);
    AppendLE(end, Clamp32(directorySize), 4);
    AppendLE(end, Clamp32(directoryStart), 4);
    AppendLE(end, 0, 2);
    return Put(end);
}

}  // namespace tessaly
