#pragma once
// Reading and writing the fixed-size numbers of binary GIS files (shapefiles, dBase
// tables, the shape index, zip archives), whatever the host's byte order.

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace tessaly {

inline std::uint32_t LoadU32LE(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline std::uint32_t LoadU32BE(const unsigned char* p) {
    return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 |
           std::uint32_t(p[0]) << 24;
}

inline std::int32_t LoadI32LE(const unsigned char* p) {
    return static_cast<std::int32_t>(LoadU32LE(p));
}

inline std::int32_t LoadI32BE(const unsigned char* p) {
    return static_cast<std::int32_t>(LoadU32BE(p));
}

inline double LoadF64LE(const unsigned char* p) {
    std::uint64_t bits = std::uint64_t(LoadU32LE(p)) | std::uint64_t(LoadU32LE(p + 4)) << 32;
    return std::bit_cast<double>(bits);
}

inline void StoreU16LE(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void StoreU32LE(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

inline void StoreU32BE(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

inline void StoreF64LE(unsigned char* p, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    StoreU32LE(p, static_cast<std::uint32_t>(bits));
    StoreU32LE(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

// The low `bytes` bytes of value, least significant first, added to out.
inline void AppendLE(std::vector<unsigned char>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace tessaly
