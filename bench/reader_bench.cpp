// Times the .shp reader against a plain read of the same file, on a generated
// polygon shapefile large enough that per-record overhead shows.

#include "bench/best_time.h"
#include "bench/synthetic_shapefile.h"
#include "engine/shape_index.h"
#include "input/shapefile_reader.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;
using namespace tessaly;

namespace {

// Keeps the timed loops from being optimised away.
volatile std::uint64_t g_sink = 0;

using bench::BestOf3;

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

void Report(const char* what, double seconds, const bench::GeneratedShapefile& g) {
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
        const bench::GeneratedShapefile g = bench::WriteMixedRingShapefile(shpPath, records);
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
