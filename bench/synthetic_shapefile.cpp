#include "bench/synthetic_shapefile.h"

#include "input/byte_order.h"

#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace tessaly::bench {

namespace {

// The 100-byte main header shared by the .shp and the .shx.
void FillHeader(unsigned char* header, std::int64_t bytes, double xmin, double ymin, double xmax, double ymax,
                std::uint32_t shapeType = 5) {
    StoreU32BE(header, 9994);
    StoreU32BE(header + 24, static_cast<std::uint32_t>(bytes / 2));
    StoreU32LE(header + 28, 1000);
    StoreU32LE(header + 32, shapeType);
    StoreF64LE(header + 36, xmin), StoreF64LE(header + 44, ymin);
    StoreF64LE(header + 52, xmax), StoreF64LE(header + 60, ymax);
}

}  // namespace

struct PolygonShapefileWriter::Stream {
    char buffer[1 << 16];
    std::ofstream out;

    explicit Stream(const fs::path& path) {
        out.rdbuf()->pubsetbuf(buffer, sizeof buffer);
        out.open(path, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error(path.string() + ": cannot create");
    }
    void Write(const unsigned char* p, std::size_t n) {
        out.write(reinterpret_cast<const char*>(p), static_cast<std::streamsize>(n));
    }
};

PolygonShapefileWriter::PolygonShapefileWriter(const fs::path& shpPath, bool writeShx)
    : shpPath_(shpPath), shp_(std::make_unique<Stream>(shpPath)) {
    const unsigned char header[100] = {};
    shp_->Write(header, sizeof header);
    if (writeShx) {
        shxPath_ = fs::path(shpPath).replace_extension(".shx");
        shx_ = std::make_unique<Stream>(shxPath_);
        shx_->Write(header, sizeof header);
    }
}

PolygonShapefileWriter::~PolygonShapefileWriter() = default;

void PolygonShapefileWriter::BeginRecord(const std::vector<std::int32_t>& partStarts, std::int32_t numPoints,
                                         double xmin, double ymin, double xmax, double ymax) {
    CloseRecord();
    if (!open_) throw std::logic_error("the shapefile is already finished");
    const std::size_t content = 44 + 4 * partStarts.size() + 16 * static_cast<std::size_t>(numPoints);
    if (g_.bytes + 8 + static_cast<std::int64_t>(content) > 0x7FFFFFFE)
        throw std::runtime_error(shpPath_.string() + ": more than a shapefile can address");

    std::vector<unsigned char> head(52 + 4 * partStarts.size());
    unsigned char* p = head.data();
    StoreU32BE(p, static_cast<std::uint32_t>(g_.records + 1));
    StoreU32BE(p + 4, static_cast<std::uint32_t>(content / 2));
    StoreU32LE(p + 8, 5);
    StoreF64LE(p + 12, xmin), StoreF64LE(p + 20, ymin);
    StoreF64LE(p + 28, xmax), StoreF64LE(p + 36, ymax);
    StoreU32LE(p + 44, static_cast<std::uint32_t>(partStarts.size()));
    StoreU32LE(p + 48, static_cast<std::uint32_t>(numPoints));
    for (std::size_t k = 0; k < partStarts.size(); ++k)
        StoreU32LE(p + 52 + 4 * k, static_cast<std::uint32_t>(partStarts[k]));
    shp_->Write(head.data(), head.size());

    if (shx_) {
        unsigned char entry[8];
        StoreU32BE(entry, static_cast<std::uint32_t>(g_.bytes / 2));
        StoreU32BE(entry + 4, static_cast<std::uint32_t>(content / 2));
        shx_->Write(entry, sizeof entry);
    }
    g_.bytes += static_cast<std::int64_t>(8 + content);
    g_.records += 1;
    g_.vertices += numPoints;
    pointsLeft_ = numPoints;
    xmin_ = std::min(xmin_, xmin), ymin_ = std::min(ymin_, ymin);
    xmax_ = std::max(xmax_, xmax), ymax_ = std::max(ymax_, ymax);
}

void PolygonShapefileWriter::AddPoint(double x, double y) {
    if (pointsLeft_ <= 0) throw std::logic_error("more points than the record announced");
    unsigned char pt[16];
    StoreF64LE(pt, x);
    StoreF64LE(pt + 8, y);
    shp_->Write(pt, sizeof pt);
    --pointsLeft_;
}

void PolygonShapefileWriter::CloseRecord() {
    if (pointsLeft_ != 0) throw std::logic_error("fewer points than the record announced");
}

GeneratedShapefile PolygonShapefileWriter::Finish() {
    CloseRecord();
    open_ = false;
    unsigned char header[100] = {};
    FillHeader(header, g_.bytes, xmin_, ymin_, xmax_, ymax_);
    shp_->out.seekp(0);
    shp_->Write(header, sizeof header);
    shp_->out.close();
    if (!shp_->out) throw std::runtime_error(shpPath_.string() + ": write failed");
    if (shx_) {
        FillHeader(header, 100 + 8 * g_.records, xmin_, ymin_, xmax_, ymax_);
        shx_->out.seekp(0);
        shx_->Write(header, sizeof header);
        shx_->out.close();
        if (!shx_->out) throw std::runtime_error(shxPath_.string() + ": write failed");
    }
    return g_;
}

GeneratedShapefile WriteMixedRingShapefile(const fs::path& shpPath, std::int64_t records) {
    PolygonShapefileWriter writer(shpPath, false);
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> where(-170.0, 170.0), size(0.01, 0.5);
    std::vector<std::int32_t> starts;
    std::vector<std::pair<double, double>> points;
    for (std::int64_t r = 1; r <= records; ++r) {
        const int numPoints = 31 + static_cast<int>(rng() % 10);
        const int numParts = 2 + static_cast<int>(rng() % 3);
        starts.clear();
        points.clear();
        double bx0 = 1e300, by0 = 1e300, bx1 = -1e300, by1 = -1e300;
        int start = 0;
        for (int k = 0; k < numParts; ++k) {
            const int n = numPoints / numParts + (k == 0 ? numPoints % numParts : 0);
            starts.push_back(start);
            const double cx = where(rng), cy = where(rng) / 2, radius = size(rng);
            // Clockwise ring; the last vertex repeats the first to close it.
            for (int i = 0; i < n; ++i) {
                const double a = -2 * std::numbers::pi * (i % (n - 1)) / (n - 1);
                const double x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
                points.emplace_back(x, y);
                bx0 = std::min(bx0, x), by0 = std::min(by0, y);
                bx1 = std::max(bx1, x), by1 = std::max(by1, y);
            }
            start += n;
        }
        writer.BeginRecord(starts, numPoints, bx0, by0, bx1, by1);
        for (const auto& [x, y] : points) writer.AddPoint(x, y);
    }
    return writer.Finish();
}

namespace {

constexpr const char* kWords[] = {"Cedar", "Maple", "Prairie", "Granite", "Willow", "Harbor", "Summit", "Meadow",
                                  "Canyon", "Aspen", "Juniper", "Falls", "Ridge", "Hollow", "Bluff", "Spring"};

// One ring: vertex i of n, the last repeating the first. A slightly wavy circle,
// walked clockwise as a shapefile's outer ring must be.
struct Ring {
    double cx, cy, radius;
    std::int32_t n;

    std::pair<double, double> Vertex(std::int32_t i) const {
        const double a = -2 * std::numbers::pi * (i % (n - 1)) / (n - 1);
        const double r = radius * (1 + 0.15 * std::sin(7 * a));
        return {cx + r * std::cos(a), cy + r * std::sin(a)};
    }
};

struct DbfFile {
    DBFHandle handle = nullptr;
    ~DbfFile() {
        if (handle != nullptr) DBFClose(handle);
    }
};

void WriteWgs84Prj(const fs::path& path) {
    std::ofstream prj(path, std::ios::binary | std::ios::trunc);
    prj << "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
           "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";
    prj.close();
    if (!prj) throw std::runtime_error(path.string() + ": write failed");
}

}  // namespace

GeneratedShapefile WriteSingleRingShapefile(const fs::path& shpPath, std::int64_t records, std::int32_t vertices) {
    if (vertices < 4) throw std::invalid_argument("a polygon ring needs 4 or more vertices");
    const fs::path dbfPath = fs::path(shpPath).replace_extension(".dbf");
    DbfFile dbf;
    dbf.handle = DBFCreate(dbfPath.c_str());
    if (dbf.handle == nullptr) throw std::runtime_error(dbfPath.string() + ": cannot create");
    if (DBFAddField(dbf.handle, "NAME", FTString, 40, 0) != 0 || DBFAddField(dbf.handle, "POP", FTInteger, 9, 0) != 1 ||
        DBFAddField(dbf.handle, "AREA", FTDouble, 16, 4) != 2)
        throw std::runtime_error(dbfPath.string() + ": cannot add the fields");

    PolygonShapefileWriter writer(shpPath, true);
    std::mt19937 rng(24680);
    std::uniform_real_distribution<double> lon(-124.0, -67.5), lat(25.5, 48.5), size(0.01, 0.2);
    const std::vector<std::int32_t> starts{0};
    constexpr double kKmPerDegree = 111.32;
    for (std::int64_t r = 0; r < records; ++r) {
        const Ring ring{lon(rng), lat(rng), size(rng), vertices};
        // First pass for the box and the area, second to write: nothing is kept.
        double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300, twiceArea = 0;
        auto [px, py] = ring.Vertex(0);
        for (std::int32_t i = 0; i < vertices; ++i) {
            const auto [x, y] = ring.Vertex(i);
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            twiceArea += px * y - x * py;
            px = x, py = y;
        }
        writer.BeginRecord(starts, vertices, x0, y0, x1, y1);
        for (std::int32_t i = 0; i < vertices; ++i) {
            const auto [x, y] = ring.Vertex(i);
            writer.AddPoint(x, y);
        }

        const int row = static_cast<int>(r);
        const std::string name = std::string(kWords[rng() % 16]) + " " + kWords[rng() % 16] + " " + std::to_string(r + 1);
        const double areaKm2 = std::abs(twiceArea) / 2 * kKmPerDegree * kKmPerDegree * std::cos(ring.cy * std::numbers::pi / 180);
        if (!DBFWriteStringAttribute(dbf.handle, row, 0, name.c_str()) ||
            !DBFWriteIntegerAttribute(dbf.handle, row, 1, static_cast<int>(rng() % 2000000)) ||
            !DBFWriteDoubleAttribute(dbf.handle, row, 2, areaKm2))
            throw std::runtime_error(dbfPath.string() + ": cannot write row " + std::to_string(r + 1));
    }
    DBFClose(dbf.handle);
    dbf.handle = nullptr;
    WriteWgs84Prj(fs::path(shpPath).replace_extension(".prj"));
    return writer.Finish();
}

GeneratedShapefile WriteLabelledPointShapefile(const fs::path& shpPath, std::int64_t records) {
    constexpr std::int64_t kRecordBytes = 8 + 20;  // header, shape type, X, Y
    if (100 + records * kRecordBytes > 0x7FFFFFFE)
        throw std::runtime_error(shpPath.string() + ": more than a shapefile can address");
    const fs::path shxPath = fs::path(shpPath).replace_extension(".shx");
    const fs::path dbfPath = fs::path(shpPath).replace_extension(".dbf");
    DbfFile dbf;
    dbf.handle = DBFCreate(dbfPath.c_str());
    if (dbf.handle == nullptr) throw std::runtime_error(dbfPath.string() + ": cannot create");
    if (DBFAddField(dbf.handle, "NAME", FTString, 32, 0) != 0 || DBFAddField(dbf.handle, "POP", FTInteger, 9, 0) != 1 ||
        DBFAddField(dbf.handle, "VALUE", FTDouble, 12, 2) != 2)
        throw std::runtime_error(dbfPath.string() + ": cannot add the fields");

    std::ofstream shp(shpPath, std::ios::binary | std::ios::trunc), shx(shxPath, std::ios::binary | std::ios::trunc);
    if (!shp || !shx) throw std::runtime_error(shpPath.string() + ": cannot create");
    unsigned char header[100] = {};
    shp.write(reinterpret_cast<const char*>(header), sizeof header);
    shx.write(reinterpret_cast<const char*>(header), sizeof header);

    std::mt19937 rng(13579);
    std::uniform_real_distribution<double> lon(-124.0, -67.5), lat(25.5, 48.5);
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    std::vector<unsigned char> shpBlock, shxBlock;
    auto flush = [&] {
        shp.write(reinterpret_cast<const char*>(shpBlock.data()), static_cast<std::streamsize>(shpBlock.size()));
        shx.write(reinterpret_cast<const char*>(shxBlock.data()), static_cast<std::streamsize>(shxBlock.size()));
        shpBlock.clear(), shxBlock.clear();
    };
    for (std::int64_t r = 0; r < records; ++r) {
        const double x = lon(rng), y = lat(rng);
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        unsigned char rec[kRecordBytes], entry[8];
        StoreU32BE(rec, static_cast<std::uint32_t>(r + 1));
        StoreU32BE(rec + 4, (kRecordBytes - 8) / 2);
        StoreU32LE(rec + 8, 1);
        StoreF64LE(rec + 12, x);
        StoreF64LE(rec + 20, y);
        StoreU32BE(entry, static_cast<std::uint32_t>((100 + r * kRecordBytes) / 2));
        StoreU32BE(entry + 4, (kRecordBytes - 8) / 2);
        shpBlock.insert(shpBlock.end(), rec, rec + sizeof rec);
        shxBlock.insert(shxBlock.end(), entry, entry + sizeof entry);
        if (shpBlock.size() >= (1u << 16)) flush();

        const int row = static_cast<int>(r);
        // About 16 x 16 x 1000 distinct names: many places share a name.
        const std::string name = std::string(kWords[rng() % 16]) + " " + kWords[rng() % 16] + " " +
                                 std::to_string(rng() % 1000);
        if (!DBFWriteStringAttribute(dbf.handle, row, 0, name.c_str()) ||
            !DBFWriteIntegerAttribute(dbf.handle, row, 1, static_cast<int>(rng() % 2000000)) ||
            !DBFWriteDoubleAttribute(dbf.handle, row, 2, static_cast<double>(rng() % 10000000) / 100))
            throw std::runtime_error(dbfPath.string() + ": cannot write row " + std::to_string(r + 1));
    }
    flush();
    DBFClose(dbf.handle);
    dbf.handle = nullptr;

    GeneratedShapefile g{100 + records * kRecordBytes, records, records};
    FillHeader(header, g.bytes, x0, y0, x1, y1, 1);
    shp.seekp(0);
    shp.write(reinterpret_cast<const char*>(header), sizeof header);
    FillHeader(header, 100 + 8 * records, x0, y0, x1, y1, 1);
    shx.seekp(0);
    shx.write(reinterpret_cast<const char*>(header), sizeof header);
    shp.close(), shx.close();
    if (!shp || !shx) throw std::runtime_error(shpPath.string() + ": write failed");
    WriteWgs84Prj(fs::path(shpPath).replace_extension(".prj"));
    return g;
}

}  // namespace tessaly::bench
