#pragma once
// Upper halves of the single-byte code pages a dBase table may be written in.

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaly {

struct CodePageTable {
    std::string_view name;                 // Python codec name, e.g. "cp1252", "iso8859_1"
    std::array<std::uint16_t, 128> upper;  // code point of each byte 0x80..0xFF
};

extern const std::array<CodePageTable, 26> kCodePageTables;

}  // namespace tessaly
