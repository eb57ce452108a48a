// Times the .shp reader against a plain read of the same file, on a generated
// polygon shapefile large enough that per-record overhead shows.

#include "engine/shape_index.h"
#include "input/byte_order.h"
#include "input/shapefile_reader.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace tessaly;

namespace {

// Keeps the timed loops from being optimised away.
volatile std::uint64_t g_sink = 0;

void StoreU32BE(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

struct Generated {
    std::int64_t bytes = 0;
    std::int64_t vertices = 0;
};

// Writes `records` polygons of 2-4 closed rings and 31-40 vertices each.
// Records are built one at a time and the header is patched at the end, so
// memory stays small whatever the count.
Generated WriteShapefile(const fs::path& path, std::int64_t records) {
    static char streamBuffer[1 << 16];
    std::ofstream out;
    out.rdbuf()->pubsetbuf(streamBuffer, sizeof streamBuffer);
    out.open(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(path.string() + ": cannot create");

    unsigned char header[100] = {};
    out.write(reinterpret_cast<const char*>(header), sizeof header);

    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> where(-170.0, 170.0), size(0.01, 0.5);
    std::vector<unsigned char> rec;
    Generated g{100, 0};
    double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
    for (std::int64_t r = 1; r <= records; ++r) {
        const int numPoints = 31 + static_cast<int>(rng() % 10);
        const int numParts = 2 + static_cast<int>(rng() % 3);
        const std::size_t content = 44 + 4 * numParts + 16 * numPoints;
        rec.assign(8 + content, 0);
        unsigned char* p = rec.data();
        StoreU32BE(p, static_cast<std::uint32_t>(r));
        StoreU32BE(p + 4, static_cast<std::uint32_t>(content / 2));
        StoreU32LE(p + 8, 5);
        StoreU32LE(p + 44, static_cast<std::uint32_t>(numParts));
        StoreU32LE(p + 48, static_cast<std::uint32_t>(numPoints));
        unsigned char* pt = p + 52 + 4 * numParts;
        double bx0 = 1e300, by0 = 1e300, bx1 = -1e300, by1 = -1e300;
        int start = 0;
        for (int k = 0; k < numParts; ++k) {
            const int n = numPoints / numParts + (k == 0 ? numPoints % numParts : 0);
            StoreU32LE(p + 52 + 4 * k, static_cast<std::uint32_t>(start));
            const double cx = where(rng), cy = where(rng) / 2, radius = size(rng);
            // Clockwise ring; the last vertex repeats the first to close it.
            for (int i = 0; i < n; ++i) {
                const double a = -2 * std::numbers::pi * (i % (n - 1)) / (n - 1);
                const double x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
                StoreF64LE(pt, x);
                StoreF64LE(pt + 8, y);
                pt += 16;
                bx0 = std::min(bx0, x), by0 = std::min(by0, y);
                bx1 = std::max(bx1, x), by1 = std::max(by1, y);
            }
            start += n;
        }
        StoreF64LE(p + 12, bx0), StoreF64LE(p + 20, by0);
        StoreF64LE(p + 28, bx1), StoreF64LE(p + 36, by1);
        xmin = std::min(xmin, bx0), ymin = std::min(ymin, by0);
        xmax = std::max(xmax, bx1), ymax = std::max(ymax, by1);
        out.write(reinterpret_cast<const char*>(rec.data()), static_cast<std::streamsize>(rec.size()));
        g.bytes += static_cast<std::int64_t>(rec.size());
        g.vertices += numPoints;
    }

    StoreU32BE(header, 9994);
    StoreU32BE(header + 24, static_cast<std::uint32_t>(g.bytes / 2));
    StoreU32LE(header + 28, 1000);
    StoreU32LE(header + 32, 5);
    StoreF64LE(header + 36, xmin), StoreF64LE(header + 44, ymin);
    StoreF64LE(header + 52, xmax), StoreF64LE(header + 60, ymax);
    out.seekp(0);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.close();
    if (!out) throw std::runtime_error(path.string() + ": write failed");
    return g;
}

double BestOf3(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

void PlainRead(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) throw std::runtime_error(path.string() + ": cannot open");
    static unsigned char block[1 << 16];
    std::uint64_t sum = 0;
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) sum += block[got / 2];
    std::fclose(f);
    g_sink = g_sink + sum;
}

// Reads every record; returns the vertex count so the caller can check it.
std::int64_t ReaderRead(const fs::path& path, std::int64_t& records) {
    TFileSHP shp(path.string());
    if (!shp.Open() || !shp.ReadHeader()) throw std::runtime_error(shp.Error());
    std::int64_t vertices = 0;
    double x = 0;
    records = 0;
    while (!shp.AtEnd()) {
        shp.ReadRecord();
        ++records;
        vertices += shp.Points.Count();
        if (shp.Points.Count() > 0) x += shp.Points.Item(1).X;
    }
    g_sink = g_sink + static_cast<std::uint64_t>(x != 0);
    return vertices;
}

void Report(const char* what, double seconds, const Generated& g) {
    std::printf("  %-22s %8.3f s  %9.1f MB/s  %7.2f M vertices/s\n", what, seconds,
                g.bytes / 1e6 / seconds, g.vertices / 1e6 / seconds);
}

struct TempDir {
    fs::path path;
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::int64_t records = 100000;
    for (int i = 1; i < argc; ++i) {
        char* end = nullptr;
        if (std::strcmp(argv[i], "--records") == 0 && i + 1 < argc &&
            (records = std::strtoll(argv[++i], &end, 10), *end == '\0') && records > 0 &&
            records <= 5000000)  // keeps the file under the 4 GB a shapefile can address
            continue;
        std::fprintf(stderr, "usage: %s [--records N]   (1 <= N <= 5000000, default 100000)\n", argv[0]);
        return 1;
    }

    try {
        TempDir dir{fs::temp_directory_path() / ("tessaly-bench-" + std::to_string(getpid()))};
        fs::create_directories(dir.path);
        const fs::path shpPath = dir.path / "bench.shp", idxPath = dir.path / "bench.idx";
        const Generated g = WriteShapefile(shpPath, records);
        if (static_cast<std::int64_t>(fs::file_size(shpPath)) != g.bytes)
            throw std::runtime_error("generated file has the wrong size");

        std::int64_t readRecords = 0, readVertices = 0;
        const double plain = BestOf3([&] { PlainRead(shpPath); });
        const double reader = BestOf3([&] { readVertices = ReaderRead(shpPath, readRecords); });
        const double index = BestOf3([&] { BuildShapeIndex(shpPath.string(), idxPath.string()); });
        if (readRecords != records || readVertices != g.vertices)
            throw std::runtime_error("the reader returned " + std::to_string(readRecords) + " records and " +
                                     std::to_string(readVertices) + " vertices, expected " +
                                     std::to_string(records) + " and " + std::to_string(g.vertices));

        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double ratio = reader / plain;
        std::printf("tessaly-bench-reader: polygon shapefile, best of 3 runs\n");
        std::printf("  file       %lld bytes (%.1f MB)\n", static_cast<long long>(g.bytes), g.bytes / 1e6);
        std::printf("  records    %lld\n  vertices   %lld\n", static_cast<long long>(records),
                    static_cast<long long>(g.vertices));
        Report("(a) plain fread 64 KiB", plain, g);
        Report("(b) TFileSHP records", reader, g);
        Report("(c) BuildShapeIndex", index, g);
        std::printf("  reader / plain  %.2fx  goal <= 3x: %s\n", ratio, ratio <= 3.0 ? "met" : "NOT met");
        std::printf("  peak resident memory  %.1f MB\n", usage.ru_maxrss / 1024.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessaly-bench-reader: error: %s\n", e.what());
        return 1;
    }
    return 0;
}
