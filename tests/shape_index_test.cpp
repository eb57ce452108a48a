#include "engine/shape_index.h"
#include "input/byte_order.h"
#include "input/shapefile_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using test::ShpBuilder;
using test::TempDir;

std::vector<ShpBuilder::Point> Square(double x, double y, int extraPoints = 0) {
    std::vector<ShpBuilder::Point> pts = {{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}};
    for (int i = 0; i < extraPoints; ++i) pts.push_back({x + 0.5, y});
    pts.push_back({x, y});
    return pts;
}

TEST(ShapeIndex, EntriesHoldRunningPositionsAndRecordOffsets) {
    TempDir dir;
    ShpBuilder b(5);
    // Type, box, counts, 3 part starts and 9 points: 200 bytes, a content length of 100 words.
    b.AddPolygon({0, 3, 6}, Square(0, 0, 4));
    b.AddPolygon({0}, Square(5, 5));
    test::WriteBytes(dir / "two.shp", b.Bytes());
    BuildShapeIndex((dir / "two.shp").string(), (dir / "two.idx").string());

    EXPECT_EQ(std::filesystem::file_size(dir / "two.idx"), 120u);
    TShapeIndex index;
    index.SetFileName((dir / "two.dbf").string());
    EXPECT_EQ(index.FileName(), (dir / "two.idx").string());
    ASSERT_TRUE(index.Open());
    EXPECT_EQ(index.EntryCount(), 2);
    const ShapeIndexEntry header = index.ReadEntry(0);
    EXPECT_EQ(header.Position, 0);
    EXPECT_DOUBLE_EQ(header.Xmin, -10);  // the builder's header box
    EXPECT_DOUBLE_EQ(header.Ymax, 40);
    const ShapeIndexEntry first = index.ReadEntry(1);
    EXPECT_EQ(first.Position, 1);
    EXPECT_EQ(first.Offset, 100u);
    const ShapeIndexEntry second = index.ReadEntry(2);
    EXPECT_EQ(second.Position, 2);
    EXPECT_EQ(second.Offset, 100u + 8 + 2 * 100);
    EXPECT_DOUBLE_EQ(second.Xmin, 5);
    EXPECT_DOUBLE_EQ(second.Ymax, 6);
    EXPECT_THROW(index.ReadEntry(3), ShapeIndexError);
}

TEST(ShapeIndex, PointBoxesAreThePointAndNullPointsGetAnEmptyBox) {
    TempDir dir;
    ShpBuilder b(1);
    b.AddNull();  // first record: no earlier point to borrow a box from
    b.AddPoint(3.5, -7.25);
    b.AddNull();
    test::WriteBytes(dir / "p.shp", b.Bytes());
    BuildShapeIndex((dir / "p.shp").string(), (dir / "p.idx").string());
    TShapeIndex index;
    index.SetFileName((dir / "p.idx").string());
    ASSERT_TRUE(index.Open());
    ASSERT_EQ(index.EntryCount(), 3);
    for (int k : {1, 3}) {
        const ShapeIndexEntry e = index.ReadEntry(k);
        EXPECT_EQ(e.Xmin, 0);
        EXPECT_EQ(e.Ymin, 0);
        EXPECT_EQ(e.Xmax, 0);
        EXPECT_EQ(e.Ymax, 0);
    }
    const ShapeIndexEntry p = index.ReadEntry(2);
    EXPECT_EQ(p.Offset, 112u);
    EXPECT_EQ(p.Xmin, 3.5);
    EXPECT_EQ(p.Xmax, 3.5);
    EXPECT_EQ(p.Ymin, -7.25);
    EXPECT_EQ(p.Ymax, -7.25);
}

TEST(ShapeIndex, AnEmptyShapefileGivesTheHeaderEntryOnly) {
    TempDir dir;
    const auto shp = dir.CopyShared("shapefile-js/empty");
    BuildShapeIndex(shp.string(), (dir / "e.idx").string());
    EXPECT_EQ(std::filesystem::file_size(dir / "e.idx"), 40u);
}

TEST(ShapeIndex, OpeningAMissingIndexCreatesNothing) {
    TempDir dir;
    TShapeIndex index;
    index.SetFileName((dir / "tessaly.dbf").string());
    EXPECT_FALSE(index.Open());
    EXPECT_FALSE(index.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(dir / "tessaly.idx"));
}

// The shapefile's own .shx, written by another program, lists the same offsets.
TEST(ShapeIndex, OffsetsAgreeWithTheShxOfRealFiles) {
    for (const char* base : {"pyshp/blockgroups", "us-atlas/counties", "shapefile-js/null"}) {
        TempDir dir;
        const auto shp = dir.CopyShared(base);
        BuildShapeIndex(shp.string(), (dir / "t.idx").string());
        const auto shx = test::ReadBytes(std::filesystem::path(shp).replace_extension(".shx"));
        const std::int32_t records = static_cast<std::int32_t>((shx.size() - 100) / 8);
        TShapeIndex index;
        index.SetFileName((dir / "t.idx").string());
        ASSERT_TRUE(index.Open());
        ASSERT_EQ(index.EntryCount(), records) << base;
        TFileSHP reader(shp.string());
        ASSERT_TRUE(reader.Open() && reader.ReadHeader());
        for (std::int32_t k = 1; k <= records; ++k) {
            const ShapeIndexEntry e = index.ReadEntry(k);
            ASSERT_EQ(e.Offset, 2u * LoadU32BE(&shx[100 + 8 * static_cast<std::size_t>(k - 1)])) << base << " " << k;
            // Seeking to the stored offset gives that very record.
            reader.SeekTo(e.Offset);
            reader.ReadRecord();
            ASSERT_EQ(reader.RecordNumber, k) << base;
        }
    }
}

TEST(ShapeIndex, AShapefileThatCannotBeReadLeavesNoIndex) {
    TempDir dir;
    // A copy whose last record is cut short.
    const auto shp = dir.CopyShared("us-atlas/states");
    auto bytes = test::ReadBytes(shp);
    bytes.resize(bytes.size() - 10);
    test::WriteBytes(shp, bytes);
    EXPECT_THROW(BuildShapeIndex(shp.string(), (dir / "c.idx").string()), ShapefileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.idx"));
    EXPECT_THROW(BuildShapeIndex((dir / "none.shp").string(), (dir / "n.idx").string()), ShapefileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "n.idx"));
}

}  // namespace
}  // namespace tessaly
