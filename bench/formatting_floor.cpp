// The least a shapefile-to-KML conversion must do: read the .shp once and write every
// vertex as the document writes it ("lon,lat,0 ", 10 decimals each). No table, no
// styles, no checks beyond staying inside the file. Its time is the floor that the
// converter's time is measured against.
//
// usage: tessaly-bench-floor INPUT.shp OUTPUT

#include "input/byte_order.h"
#include "input/number_text.h"
#include "input/shape_type.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

using namespace tessaly;

namespace {

constexpr int kDecimals = 10;
constexpr std::size_t kFlushSize = 1 << 16;

// The offset of the first point and the point count of a record's content, or
// false for a record without points.
bool PointsOf(const unsigned char* content, std::int64_t bytes, std::int64_t& first, std::int64_t& count) {
    if (bytes < 4) return false;
    const std::int32_t type = LoadI32LE(content);
    switch (ShapeTypeOf(type)) {
        case ShapeType::Point: case ShapeType::PointZ: case ShapeType::PointM: first = 4, count = 1; break;
        case ShapeType::MultiPoint: case ShapeType::MultiPointZ: case ShapeType::MultiPointM:
            if (bytes < 40) return false;
            first = 40, count = LoadI32LE(content + 36);
            break;
        case ShapeType::Polyline: case ShapeType::Polygon: case ShapeType::PolylineZ: case ShapeType::PolygonZ:
        case ShapeType::PolylineM: case ShapeType::PolygonM:
            if (bytes < 44) return false;
            first = 44 + 4 * static_cast<std::int64_t>(LoadI32LE(content + 36));
            count = LoadI32LE(content + 40);
            break;
        default: return false;
    }
    return count >= 0 && first >= 0 && first + 16 * count <= bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INPUT.shp OUTPUT\n", argv[0]);
        return 1;
    }
    const int fd = open(argv[1], O_RDONLY);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < 100) {
        std::fprintf(stderr, "%s: cannot read a shapefile\n", argv[1]);
        return 1;
    }
    const auto size = static_cast<std::int64_t>(st.st_size);
    void* map = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
        std::fprintf(stderr, "%s: cannot map\n", argv[1]);
        return 1;
    }
    madvise(map, static_cast<std::size_t>(size), MADV_SEQUENTIAL);
    const auto* data = static_cast<const unsigned char*>(map);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "%s: cannot create\n", argv[2]);
        return 1;
    }

    std::string text;
    text.reserve(2 * kFlushSize);
    std::int64_t vertices = 0;
    for (std::int64_t at = 100; at + 8 <= size;) {
        const std::int64_t bytes = 2 * static_cast<std::int64_t>(LoadI32BE(data + at + 4));
        if (bytes < 0 || at + 8 + bytes > size) break;
        std::int64_t first = 0, count = 0;
        if (PointsOf(data + at + 8, bytes, first, count)) {
            const unsigned char* p = data + at + 8 + first;
            for (std::int64_t k = 0; k < count; ++k, p += 16) {
                AppendFixed(text, LoadF64LE(p), kDecimals);
                text += ',';
                AppendFixed(text, LoadF64LE(p + 8), kDecimals);
                text += ",0 ";
                if (text.size() >= kFlushSize) {
                    if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return 1;
                    text.clear();
                }
            }
            vertices += count;
        }
        at += 8 + bytes;
    }
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "%s: write failed\n", argv[2]);
        return 1;
    }
    std::printf("%lld vertices\n", static_cast<long long>(vertices));
    return 0;
}
