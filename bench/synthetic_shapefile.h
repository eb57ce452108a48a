#pragma once
// Generated shapefiles for the benchmarks. Records are written as they are
// made and the headers patched at the end, so the generating process stays small
// whatever the count of records or vertices.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace tessaly::bench {

struct GeneratedShapefile {
    std::int64_t bytes = 0;  // size of the .shp
    std::int64_t records = 0;
    std::int64_t vertices = 0;
};

// Writes a polygon .shp (and, when asked, its .shx) record by record; the points of
// a record are streamed, so a record of millions of vertices costs no memory.
class PolygonShapefileWriter {
public:
    PolygonShapefileWriter(const std::filesystem::path& shpPath, bool writeShx);
    ~PolygonShapefileWriter();
    PolygonShapefileWriter(const PolygonShapefileWriter&) = delete;
    PolygonShapefileWriter& operator=(const PolygonShapefileWriter&) = delete;

    // Starts the next record: the 0-based first vertex of each ring, the total
    // vertex count and the record's box. Exactly numPoints AddPoint calls follow.
    void BeginRecord(const std::vector<std::int32_t>& partStarts, std::int32_t numPoints, double xmin,
                     double ymin, double xmax, double ymax);
    void AddPoint(double x, double y);
    // Patches the headers and closes the files; throws when a write failed.
    GeneratedShapefile Finish();

private:
    struct Stream;
    void CloseRecord();

    std::filesystem::path shpPath_, shxPath_;
    std::unique_ptr<Stream> shp_, shx_;
    GeneratedShapefile g_{100, 0, 0};
    std::int64_t pointsLeft_ = 0;
    bool open_ = true;
    double xmin_ = 1e300, ymin_ = 1e300, xmax_ = -1e300, ymax_ = -1e300;
};

// `records` polygons of 2-4 closed rings and 31-40 vertices each, scattered over
// the whole plane; the .shp alone.
GeneratedShapefile WriteMixedRingShapefile(const std::filesystem::path& shpPath, std::int64_t records);

// `records` polygons of one closed clockwise ring of `vertices` vertices each, in
// longitude/latitude degrees over the contiguous United States, with the .shx, a
// WGS 84 .prj and a .dbf table (written with shapelib) of NAME (text), POP
// (integer) and AREA (double, square kilometres). vertices must be 4 or more.
GeneratedShapefile WriteSingleRingShapefile(const std::filesystem::path& shpPath, std::int64_t records,
                                            std::int32_t vertices);

// `records` points scattered over the contiguous United States, in longitude/latitude
// degrees, with the .shx, a WGS 84 .prj and a .dbf table of NAME (text, the label:
// names repeat, as place names do), POP (integer) and VALUE (a number with two
// decimals, for a balloon).
GeneratedShapefile WriteLabelledPointShapefile(const std::filesystem::path& shpPath, std::int64_t records);

}  // namespace tessaly::bench
