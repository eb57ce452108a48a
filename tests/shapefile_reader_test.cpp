#include "input/radix_sort.h"
#include "input/shapefile_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::PutDouble;
using test::PutInt32BE;
using test::PutInt32LE;
using test::ShpBuilder;
using test::TempDir;
using Pt = ShpBuilder::Point;
using XY = std::pair<double, double>;

// The content of a record of the multi-part or multi-point kind, with the optional
// blocks the simple builder cannot write.
struct RawShape {
    std::int32_t type = 5;
    std::vector<std::int32_t> parts;      // left out for multi-points
    std::vector<std::int32_t> partTypes;  // MultiPatch only
    std::vector<Pt> points;
    std::vector<double> z;  // written when not empty
    std::vector<double> m;  // written when not empty
    std::size_t padding = 0;  // zero bytes after the shape, inside the content length
};

bool IsMultiPoint(std::int32_t type) { return type == 8 || type == 18 || type == 28; }

std::vector<unsigned char> Content(const RawShape& s) {
    std::vector<unsigned char> c;
    PutInt32LE(c, s.type);
    for (double v : {-1.0, -2.0, 100.0, 200.0}) PutDouble(c, v);
    if (!IsMultiPoint(s.type)) PutInt32LE(c, static_cast<std::int32_t>(s.parts.size()));
    PutInt32LE(c, static_cast<std::int32_t>(s.points.size()));
    for (std::int32_t p : s.parts) PutInt32LE(c, p);
    for (std::int32_t t : s.partTypes) PutInt32LE(c, t);
    for (const Pt& p : s.points) {
        PutDouble(c, p.x);
        PutDouble(c, p.y);
    }
    for (const std::vector<double>* block : {&s.z, &s.m}) {
        if (block->empty()) continue;
        PutDouble(c, *std::min_element(block->begin(), block->end()));
        PutDouble(c, *std::max_element(block->begin(), block->end()));
        for (double v : *block) PutDouble(c, v);
    }
    c.insert(c.end(), s.padding, 0);
    return c;
}

// Points (1,1), (2,2) ... (n,n), so that a point's coordinates tell its position.
std::vector<Pt> Numbered(int n) {
    std::vector<Pt> pts;
    for (int i = 1; i <= n; ++i) pts.push_back({double(i), double(i)});
    return pts;
}

std::vector<XY> AsPairs(const TListaXY& list) {
    std::vector<XY> out;
    for (const TCXY& p : list.Items()) out.emplace_back(p.X, p.Y);
    return out;
}

std::vector<double> AsDoubles(const TListaDouble& list) {
    std::vector<double> out;
    for (const TNDouble& v : list.Items()) out.push_back(v.Value);
    return out;
}

std::vector<std::int32_t> AsInts(const TListaInt& list) {
    std::vector<std::int32_t> out;
    for (const TNInteger& v : list.Items()) out.push_back(v.Value);
    return out;
}

std::vector<double> Xs(const TListaXY& list) {
    std::vector<double> out;
    for (const TCXY& p : list.Items()) out.push_back(p.X);
    return out;
}

std::vector<double> Range(int first, int last) {
    std::vector<double> out;
    for (int i = first; i <= last; ++i) out.push_back(i);
    return out;
}

fs::path Write(const TempDir& dir, const std::string& name, const std::vector<unsigned char>& bytes) {
    const fs::path p = dir / name;
    test::WriteBytes(p, bytes);
    return p;
}

// Opens the file and reads its header; the reason in the assertion when that fails.
testing::AssertionResult OpenWithHeader(TFileSHP& reader, const fs::path& path) {
    reader.FileName = path.string();
    if (!reader.Open()) return testing::AssertionFailure() << "Open: " << reader.Error();
    if (!reader.ReadHeader()) return testing::AssertionFailure() << "ReadHeader: " << reader.Error();
    return testing::AssertionSuccess();
}

// Offsets of the records that follow each other from byte 100, each taking 8 bytes
// of header and its content.
std::vector<std::int64_t> OffsetsOf(const std::vector<std::size_t>& contentSizes) {
    std::vector<std::int64_t> out;
    std::int64_t at = 100;
    for (std::size_t size : contentSizes) {
        out.push_back(at);
        at += 8 + static_cast<std::int64_t>(size);
    }
    out.push_back(at);
    return out;
}

// ---------------------------------------------------------------------------
// The main header

TEST(ShapefileReaderHeader, ReadsTheHeaderFields) {
    TempDir dir;
    ShpBuilder b(15);
    b.AddPoint(1, 2);
    const auto bytes = b.Bytes();
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "h.shp", bytes)));
    EXPECT_EQ(reader.FileCode, 9994);
    EXPECT_EQ(reader.FileLength, static_cast<std::int32_t>(bytes.size() / 2));
    EXPECT_EQ(reader.Version, 1000);
    EXPECT_EQ(reader.ShapeType, 15);
    EXPECT_EQ(reader.Xmin, -10);
    EXPECT_EQ(reader.Ymin, -20);
    EXPECT_EQ(reader.Xmax, 30);
    EXPECT_EQ(reader.Ymax, 40);
    EXPECT_EQ(reader.Position(), 100);
    EXPECT_EQ(reader.FileSize(), static_cast<std::int64_t>(bytes.size()));
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_TRUE(reader.Error().empty());
}

TEST(ShapefileReaderHeader, RejectsFilesThatAreNotShapefiles) {
    TempDir dir;
    {
        TFileSHP reader((dir / "empty.shp").string());
        test::WriteBytes(dir / "empty.shp", {});
        ASSERT_TRUE(reader.Open()) << reader.Error();
        EXPECT_FALSE(reader.ReadHeader());
        EXPECT_NE(reader.Error().find("empty.shp"), std::string::npos) << reader.Error();
        EXPECT_NE(reader.Error().find("empty"), std::string::npos) << reader.Error();
    }
    {
        // An attribute table given where the geometry file belongs.
        const fs::path shp = dir.CopyShared("pyshp/blockgroups");
        TFileSHP reader(fs::path(shp).replace_extension(".dbf").string());
        ASSERT_TRUE(reader.Open()) << reader.Error();
        EXPECT_FALSE(reader.ReadHeader());
        EXPECT_NE(reader.Error().find("blockgroups.dbf"), std::string::npos) << reader.Error();
        EXPECT_NE(reader.Error().find("9994"), std::string::npos) << reader.Error();
    }
    {
        // The file code in the wrong byte order is not the file code.
        std::vector<unsigned char> bytes = ShpBuilder(1).Bytes();
        std::reverse(bytes.begin(), bytes.begin() + 4);
        TFileSHP reader(Write(dir, "le.shp", bytes).string());
        ASSERT_TRUE(reader.Open());
        EXPECT_FALSE(reader.ReadHeader());
        EXPECT_NE(reader.Error().find("le.shp"), std::string::npos) << reader.Error();
    }
    {
        TFileSHP reader(Write(dir, "two.shp", {0x00, 0x00}).string());
        ASSERT_TRUE(reader.Open());
        EXPECT_FALSE(reader.ReadHeader());
        EXPECT_FALSE(reader.Error().empty());
    }
    {
        TFileSHP reader((dir / "missing.shp").string());
        EXPECT_FALSE(reader.Open());
        EXPECT_NE(reader.Error().find("missing.shp"), std::string::npos) << reader.Error();
        EXPECT_THROW(reader.ReadRecord(), ShapefileError);  // it stays closed
    }
}

TEST(ShapefileReaderHeader, RejectsAHeaderCutShort) {
    TempDir dir;
    const std::vector<unsigned char> full = ShpBuilder(5).Bytes();
    for (std::size_t size : {4u, 36u, 99u}) {
        SCOPED_TRACE(size);
        const fs::path p = Write(dir, "short.shp", {full.begin(), full.begin() + size});
        TFileSHP reader(p.string());
        ASSERT_TRUE(reader.Open());
        EXPECT_FALSE(reader.ReadHeader());
        const std::string& e = reader.Error();
        EXPECT_NE(e.find("short.shp"), std::string::npos) << e;
        EXPECT_NE(e.find("cut short"), std::string::npos) << e;
        EXPECT_NE(e.find(std::to_string(size) + " of 100"), std::string::npos) << e;
    }
    // Exactly a header: a valid file without records.
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "bare.shp", full)));
    EXPECT_TRUE(reader.AtEnd());
}

// ---------------------------------------------------------------------------
// What each kind of record leaves in the current-record fields

TEST(ShapefileReaderRecords, PointFillsOnlyItsPoint) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPolygon({0, 3}, Numbered(7));
    b.AddPoint(2.5, -1.25);
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "p.shp", b.Bytes())));
    reader.ReadRecord();
    ASSERT_EQ(reader.Points.Count(), 7);
    reader.ReadRecord();
    EXPECT_EQ(reader.RecordNumber, 2);
    EXPECT_EQ(reader.RecordShapeType, 1);
    EXPECT_EQ(reader.ContentLength, 10);
    EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{2.5, -1.25}}));
    // The polygon's counts and parts stay: a point has none of its own.
    EXPECT_EQ(reader.NumParts, 2);
    EXPECT_EQ(reader.NumPoints, 7);
    EXPECT_EQ(AsInts(reader.Parts), (std::vector<std::int32_t>{0, 3}));
    EXPECT_TRUE(reader.AtEnd());
}

struct RecordState {
    std::array<double, 4> box;
    std::int32_t numParts, numPoints;
    std::vector<std::int32_t> parts;
    std::vector<XY> points;
    std::vector<double> z, m;
    bool operator==(const RecordState&) const = default;
};

RecordState StateOf(const TFileSHP& r) {
    return {r.RecordBox, r.NumParts, r.NumPoints, AsInts(r.Parts), AsPairs(r.Points),
            AsDoubles(r.ZValues), AsDoubles(r.MValues)};
}

TEST(ShapefileReaderRecords, NullRecordKeepsWhatThePreviousRecordLeftAndTakesTwelveBytes) {
    TempDir dir;
    ShpBuilder b(15);
    b.AddNull();  // before any shape: nothing to keep but the empty state
    RawShape s;
    s.type = 15;
    s.parts = {0, 4};
    s.points = {{0, 0}, {0, 1}, {1, 1}, {0, 0}, {5, 5}, {5, 6}, {6, 6}, {5, 5}};
    s.z = Range(11, 18);
    s.m = Range(21, 28);
    b.AddRaw(Content(s));
    b.AddNull();
    b.AddNull();
    b.AddPoint(9, 9);
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "n.shp", b.Bytes())));

    const RecordState fresh = StateOf(reader);
    reader.ReadRecord();
    EXPECT_EQ(reader.RecordShapeType, 0);
    EXPECT_EQ(reader.RecordNumber, 1);
    EXPECT_EQ(reader.ContentLength, 2);
    EXPECT_EQ(reader.Position(), 112);
    EXPECT_TRUE(StateOf(reader) == fresh);

    reader.ReadRecord();
    ASSERT_EQ(reader.RecordShapeType, 15);
    const RecordState polygon = StateOf(reader);
    ASSERT_EQ(polygon.points.size(), 8u);
    ASSERT_EQ(polygon.z.size(), 8u);
    ASSERT_EQ(polygon.m.size(), 8u);
    for (int k = 2; k <= 3; ++k) {
        const std::int64_t before = reader.Position();
        reader.ReadRecord();
        EXPECT_EQ(reader.RecordNumber, 1 + k);
        EXPECT_EQ(reader.RecordShapeType, 0);
        EXPECT_EQ(reader.Position(), before + 12);
        EXPECT_TRUE(StateOf(reader) == polygon) << "null record " << k;
    }
    reader.ReadRecord();
    EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{9, 9}}));
    EXPECT_TRUE(reader.AtEnd());
}

// ---------------------------------------------------------------------------
// Parts

TEST(ShapefileReaderParts, GetPartSplitsThePointsAtThePartStarts) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPolygon({0, 5, 9}, Numbered(14));
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "parts.shp", b.Bytes())));
    reader.ReadRecord();
    ASSERT_EQ(reader.NumParts, 3);
    ASSERT_EQ(reader.NumPoints, 14);

    TListaXY part;
    part.Add(99, 99);  // whatever the target held is replaced
    EXPECT_TRUE(reader.GetPart(1, part));
    EXPECT_EQ(Xs(part), Range(1, 5));
    EXPECT_TRUE(reader.GetPart(2, part));
    EXPECT_EQ(Xs(part), Range(6, 9));
    EXPECT_TRUE(reader.GetPart(3, part));
    EXPECT_EQ(Xs(part), Range(10, 14));
    for (std::int32_t outside : {4, 0, -1}) {
        part.Add(99, 99);
        EXPECT_FALSE(reader.GetPart(outside, part)) << outside;
        EXPECT_EQ(part.Count(), 0) << outside;
    }
}

TEST(ShapefileReaderParts, PartsTooShortForALineAreCopiedButReportedFalse) {
    TempDir dir;
    ShpBuilder b(3);
    b.AddPolygon({0, 1, 3, 3}, Numbered(5), 3);  // parts of 1, 2, 0 and 2 points
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "short.shp", b.Bytes())));
    reader.ReadRecord();
    TListaXY part;
    EXPECT_FALSE(reader.GetPart(1, part));
    EXPECT_EQ(Xs(part), Range(1, 1));
    EXPECT_TRUE(reader.GetPart(2, part));
    EXPECT_EQ(Xs(part), Range(2, 3));
    EXPECT_FALSE(reader.GetPart(3, part));
    EXPECT_EQ(part.Count(), 0);
    EXPECT_TRUE(reader.GetPart(4, part));
    EXPECT_EQ(Xs(part), Range(4, 5));
}

TEST(ShapefileReaderParts, LongRecordsAreReadCompletelyInOrder) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPolygon({0, 600, 1100}, Numbered(1234));
    b.AddPolygon({0}, Numbered(3));
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "long.shp", b.Bytes())));
    reader.ReadRecord();
    ASSERT_EQ(reader.NumPoints, 1234);
    EXPECT_EQ(Xs(reader.Points), Range(1, 1234));
    TListaXY part;
    EXPECT_TRUE(reader.GetPart(2, part));
    EXPECT_EQ(Xs(part), Range(601, 1100));
    EXPECT_TRUE(reader.GetPart(3, part));
    EXPECT_EQ(Xs(part), Range(1101, 1234));
    EXPECT_EQ(reader.Position(), 100 + 8 + 4 + 32 + 8 + 3 * 4 + 1234 * 16);
    reader.ReadRecord();
    EXPECT_EQ(Xs(reader.Points), Range(1, 3));
    EXPECT_TRUE(reader.AtEnd());
}

// ---------------------------------------------------------------------------
// Z, M and the record kinds that carry more than points

TEST(ShapefileReaderMeasures, ZAndMBlocksAreReadRecordByRecord) {
    TempDir dir;
    ShpBuilder b(13);
    RawShape line{13, {0, 2}, {}, Numbered(5), Range(101, 105), Range(201, 205)};
    RawShape ring{15, {0}, {}, {{0, 0}, {0, 4}, {4, 4}, {0, 0}}, {1, 2, 3, 1}, {-1, -2, -3, -1}};
    RawShape other{13, {0}, {}, Numbered(2), {7, 8}, {0.5, 0.25}};
    std::vector<std::size_t> sizes;
    for (const RawShape* s : {&line, &ring, &other}) {
        b.AddRaw(Content(*s));
        sizes.push_back(Content(*s).size());
    }
    const auto offsets = OffsetsOf(sizes);
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "zm.shp", b.Bytes())));
    std::size_t k = 0;
    for (const RawShape* s : {&line, &ring, &other}) {
        SCOPED_TRACE(k + 1);
        ASSERT_EQ(reader.Position(), offsets[k]);
        reader.ReadRecord();
        ++k;
        EXPECT_EQ(reader.Position(), offsets[k]);
        EXPECT_EQ(reader.RecordShapeType, s->type);
        EXPECT_EQ(reader.NumPoints, static_cast<std::int32_t>(s->points.size()));
        EXPECT_EQ(AsInts(reader.Parts), s->parts);
        EXPECT_EQ(reader.Points.Count(), reader.NumPoints);
        EXPECT_EQ(AsDoubles(reader.ZValues), s->z);
        EXPECT_EQ(AsDoubles(reader.MValues), s->m);
        EXPECT_EQ(reader.RecordBox, (std::array<double, 4>{-1, -2, 100, 200}));
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ShapefileReaderMeasures, ZRecordsWithoutTheOptionalMBlockStayInStep) {
    TempDir dir;
    ShpBuilder b(15);
    // The M block is optional; a reader that expected one would take the next
    // record's header for it.
    RawShape withM{15, {0}, {}, {{0, 0}, {0, 1}, {1, 1}, {0, 0}}, {1, 2, 3, 1}, {9, 9, 9, 9}};
    RawShape zOnly{15, {0}, {}, {{2, 2}, {2, 3}, {3, 3}, {2, 2}}, {5, 6, 7, 5}, {}};
    RawShape lineZ{13, {0}, {}, Numbered(3), {1.5, 2.5, 3.5}, {}};
    RawShape pointsZ{18, {}, {}, Numbered(2), {-4, -5}, {}};
    std::vector<const RawShape*> shapes = {&withM, &zOnly, &lineZ, &pointsZ, &withM};
    std::vector<std::size_t> sizes;
    for (const RawShape* s : shapes) {
        b.AddRaw(Content(*s));
        sizes.push_back(Content(*s).size());
    }
    b.AddPoint(42, 43);
    const auto offsets = OffsetsOf(sizes);
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "z.shp", b.Bytes())));
    for (std::size_t k = 0; k < shapes.size(); ++k) {
        SCOPED_TRACE(k + 1);
        reader.ReadRecord();
        EXPECT_EQ(reader.Position(), offsets[k + 1]);
        EXPECT_EQ(reader.RecordShapeType, shapes[k]->type);
        EXPECT_EQ(Xs(reader.Points).size(), shapes[k]->points.size());
        EXPECT_EQ(AsDoubles(reader.ZValues), shapes[k]->z);
        // No M block: no measures, not the previous record's.
        EXPECT_EQ(AsDoubles(reader.MValues), shapes[k]->m);
    }
    reader.ReadRecord();
    EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{42, 43}}));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ShapefileReaderMeasures, MultiPatchPartTypesAreNotTakenForPoints) {
    TempDir dir;
    ShpBuilder b(31);
    RawShape patch;
    patch.type = 31;
    patch.parts = {0, 4};
    patch.partTypes = {0, 5};  // a triangle strip, then a ring
    patch.points = Numbered(7);
    patch.z = Range(31, 37);
    patch.m = Range(41, 47);
    RawShape bare = patch;  // no M block
    bare.m.clear();
    b.AddRaw(Content(patch));
    b.AddRaw(Content(bare));
    b.AddPoint(-7, 7);
    const auto offsets = OffsetsOf({Content(patch).size(), Content(bare).size()});
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "patch.shp", b.Bytes())));
    reader.ReadRecord();
    EXPECT_EQ(reader.Position(), offsets[1]);
    EXPECT_EQ(reader.NumParts, 2);
    EXPECT_EQ(AsInts(reader.Parts), (std::vector<std::int32_t>{0, 4}));
    EXPECT_EQ(Xs(reader.Points), Range(1, 7));
    EXPECT_EQ(AsDoubles(reader.ZValues), Range(31, 37));
    EXPECT_EQ(AsDoubles(reader.MValues), Range(41, 47));
    reader.ReadRecord();
    EXPECT_EQ(reader.Position(), offsets[2]);
    EXPECT_EQ(Xs(reader.Points), Range(1, 7));
    EXPECT_EQ(AsDoubles(reader.ZValues), Range(31, 37));
    EXPECT_TRUE(reader.MValues.Items().empty());
    reader.ReadRecord();
    EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{-7, 7}}));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ShapefileReaderRecords, UnknownTypesAndPaddedRecordsKeepTheReaderInStep) {
    TempDir dir;
    ShpBuilder b(5);
    std::vector<std::vector<unsigned char>> contents;
    {
        std::vector<unsigned char> c;  // an unknown type with a long body of its own
        PutInt32LE(c, 99);
        for (int i = 0; i < 10; ++i) PutInt32LE(c, 0x7fffffff);
        contents.push_back(c);
    }
    {
        std::vector<unsigned char> c;  // a type the format leaves unused, nothing after it
        PutInt32LE(c, 2);
        contents.push_back(c);
    }
    RawShape padded{5, {0}, {}, {{0, 0}, {0, 1}, {1, 0}, {0, 0}}, {}, {}, 24};
    contents.push_back(Content(padded));
    RawShape multi{8, {}, {}, Numbered(3), {}, {}};
    contents.push_back(Content(multi));
    {
        std::vector<unsigned char> c;  // a PointM with its measure
        PutInt32LE(c, 21);
        for (double v : {3.0, 4.0, 5.0}) PutDouble(c, v);
        contents.push_back(c);
    }
    {
        std::vector<unsigned char> c;  // a PointZ written with padding after Z and M
        PutInt32LE(c, 11);
        for (double v : {6.0, 7.0, 8.0, 9.0, 0.0, 0.0}) PutDouble(c, v);
        contents.push_back(c);
    }
    std::vector<std::size_t> sizes;
    for (const auto& c : contents) {
        b.AddRaw(c);
        sizes.push_back(c.size());
    }
    const auto offsets = OffsetsOf(sizes);
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "mixed.shp", b.Bytes())));
    for (std::size_t k = 0; k < contents.size(); ++k) {
        SCOPED_TRACE(k + 1);
        reader.ReadRecord();
        EXPECT_EQ(reader.RecordNumber, static_cast<std::int32_t>(k + 1));
        EXPECT_EQ(reader.ContentLength, static_cast<std::int32_t>(contents[k].size() / 2));
        EXPECT_EQ(reader.Position(), offsets[k + 1]);
        switch (k) {
            case 0: EXPECT_EQ(reader.RecordShapeType, 99); break;
            case 1: EXPECT_EQ(reader.RecordShapeType, 2); break;
            case 2:
                EXPECT_EQ(reader.NumPoints, 4);
                EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{0, 0}, {0, 1}, {1, 0}, {0, 0}}));
                break;
            case 3: EXPECT_EQ(Xs(reader.Points), Range(1, 3)); break;
            case 4:
                EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{3, 4}}));
                EXPECT_EQ(AsDoubles(reader.MValues), std::vector<double>{5});
                break;
            case 5:
                EXPECT_EQ(AsPairs(reader.Points), (std::vector<XY>{{6, 7}}));
                EXPECT_EQ(AsDoubles(reader.ZValues), std::vector<double>{8});
                EXPECT_EQ(AsDoubles(reader.MValues), std::vector<double>{9});
                break;
        }
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ShapefileReaderRecords, SeekToStartsAtAnyRecord) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPolygon({0}, Numbered(4));
    b.AddPolygon({0}, Numbered(6));
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "seek.shp", b.Bytes())));
    const std::int64_t second = 100 + 8 + 4 + 32 + 8 + 4 + 4 * 16;
    reader.SeekTo(second);
    reader.ReadRecord();
    EXPECT_EQ(reader.RecordNumber, 2);
    EXPECT_EQ(Xs(reader.Points), Range(1, 6));
    reader.SeekTo(100);
    reader.ReadRecord();
    EXPECT_EQ(Xs(reader.Points), Range(1, 4));
    EXPECT_THROW(reader.SeekTo(reader.FileSize() + 1), ShapefileError);
    EXPECT_THROW(reader.SeekTo(-1), ShapefileError);
}

// ---------------------------------------------------------------------------
// Records that do not fit: a clear error naming the file and the record

std::vector<unsigned char> Polygon(std::int32_t parts, std::int32_t points,
                                   const std::vector<std::int32_t>& starts, int storedPoints) {
    std::vector<unsigned char> c;
    PutInt32LE(c, 5);
    for (int i = 0; i < 4; ++i) PutDouble(c, 0);
    PutInt32LE(c, parts);
    PutInt32LE(c, points);
    for (std::int32_t s : starts) PutInt32LE(c, s);
    for (int i = 0; i < storedPoints; ++i) {
        PutDouble(c, i);
        PutDouble(c, i);
    }
    return c;
}

std::vector<unsigned char> WithType(std::vector<unsigned char> c, std::int32_t type) {
    std::vector<unsigned char> t;
    PutInt32LE(t, type);
    std::copy(t.begin(), t.end(), c.begin());
    return c;
}

std::vector<unsigned char> MultiPoint(std::int32_t count, int storedPoints) {
    std::vector<unsigned char> c;
    PutInt32LE(c, 8);
    for (int i = 0; i < 4; ++i) PutDouble(c, 0);
    PutInt32LE(c, count);
    c.insert(c.end(), static_cast<std::size_t>(storedPoints) * 16, 0);
    return c;
}

std::vector<unsigned char> TypeOnly(std::int32_t type, std::size_t extraBytes) {
    std::vector<unsigned char> c;
    PutInt32LE(c, type);
    c.insert(c.end(), extraBytes, 0);
    return c;
}

TEST(ShapefileReaderRejects, CountsAndPartStartsThatDoNotFitTheRecord) {
    struct Case {
        const char* what;
        std::vector<unsigned char> content;
        const char* expected;  // a piece of the message
    };
    const std::vector<Case> cases = {
        {"negative part count", Polygon(-1, 3, {}, 3), "negative"},
        {"negative point count", Polygon(1, -3, {0}, 0), "negative"},
        {"point count near 2^31", Polygon(1, 0x7fffffff, {0}, 3), "do not fit"},
        {"part count near 2^31", Polygon(0x7fffffff, 3, {0}, 3), "do not fit"},
        {"one point more than stored", Polygon(1, 4, {0}, 3), "do not fit"},
        {"part start past the points", Polygon(2, 3, {0, 4}, 3), "part 2 starts at point 4"},
        {"negative part start", Polygon(2, 3, {0, -1}, 3), "part 2 starts at point -1"},
        // Parts that go back would each be the whole point list again.
        {"part starts that go back", Polygon(3, 3, {0, 2, 1}, 3), "part 3 starts at point 1, before the start 2 of part 2"},
        // Would fit without the part type that follows each part start.
        {"MultiPatch without part types", WithType(Polygon(2, 3, {0, 1}, 3), 31), "do not fit"},
        {"multipoint count too large", MultiPoint(1000, 1), "do not fit"},
        {"multipoint count near 2^31", MultiPoint(0x7fffffff, 1), "do not fit"},
        {"box cut short", TypeOnly(5, 20), "bounding box"},
        {"counts cut short", TypeOnly(3, 36), "counts"},
        {"multipoint count cut short", TypeOnly(28, 32), "point count"},
        {"point without coordinates", TypeOnly(1, 8), "coordinates"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShpBuilder b(5);
        b.AddPoint(1, 1);
        b.AddRaw(c.content);
        TFileSHP reader;
        ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "bad.shp", b.Bytes())));
        reader.ReadRecord();
        try {
            reader.ReadRecord();
            ADD_FAILURE() << "read without error";
        } catch (const ShapefileError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("bad.shp"), std::string::npos) << m;
            EXPECT_NE(m.find("record 2 at byte 128"), std::string::npos) << m;
            EXPECT_NE(m.find(c.expected), std::string::npos) << m;
        }
    }
}

// Replaces the content length of the record at `offset`.
void SetContentLength(std::vector<unsigned char>& bytes, std::size_t offset, std::int32_t words) {
    std::vector<unsigned char> be;
    PutInt32BE(be, words);
    std::copy(be.begin(), be.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

TEST(ShapefileReaderRejects, RecordsThatDoNotFitTheFile) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPoint(1, 1);
    b.AddPolygon({0}, Numbered(4));
    const std::vector<unsigned char> good = b.Bytes();
    const std::size_t second = 128;
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        const char* expected;
    };
    std::vector<Case> cases;
    for (std::int32_t words : {0, 1, -5, static_cast<std::int32_t>(0x80000000u)}) {
        auto bytes = good;
        SetContentLength(bytes, second, words);
        cases.push_back({"content length too small", bytes, "too short"});
    }
    for (std::int32_t words : {0x7fffffff, 200, 63}) {
        auto bytes = good;
        SetContentLength(bytes, second, words);
        cases.push_back({"content length past the end", bytes, "runs past the end"});
    }
    cases.push_back({"cut inside the content", {good.begin(), good.end() - 10}, "runs past the end"});
    cases.push_back({"cut inside the shape type", {good.begin(), good.begin() + second + 10},
                     "runs past the end"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFileSHP reader;
        ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "cut.shp", c.bytes)));
        reader.ReadRecord();
        ASSERT_FALSE(reader.AtEnd());
        try {
            reader.ReadRecord();
            ADD_FAILURE() << "read without error";
        } catch (const ShapefileError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("cut.shp"), std::string::npos) << m;
            EXPECT_NE(m.find("record 2 at byte 128"), std::string::npos) << m;
            EXPECT_NE(m.find(c.expected), std::string::npos) << m;
        }
    }
    // Reading on at the end is an error too, not a read of stale bytes.
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "end.shp", good)));
    reader.ReadRecord();
    reader.ReadRecord();
    ASSERT_TRUE(reader.AtEnd());
    EXPECT_THROW(reader.ReadRecord(), ShapefileError);
}

// Fewer bytes than a record header after the last record are no record: the file
// ends there. A whole header's worth is a record, and must be one.
TEST(ShapefileReaderRecords, StrayBytesAfterTheLastRecordAreLeftAlone) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPoint(1, 1);
    b.AddPolygon({0}, Numbered(4));
    for (const std::size_t stray : {0u, 1u, 5u, 7u, 8u}) {
        SCOPED_TRACE(stray);
        auto bytes = b.Bytes();
        bytes.insert(bytes.end(), stray, 0x41);
        TFileSHP reader;
        ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "stray.shp", bytes)));
        reader.ReadRecord();
        EXPECT_EQ(reader.TrailingBytes(), 0);
        reader.ReadRecord();
        EXPECT_EQ(reader.Points.Count(), 4);
        if (stray < 8) {
            EXPECT_TRUE(reader.AtEnd());
            EXPECT_EQ(reader.TrailingBytes(), static_cast<std::int64_t>(stray));
        } else {
            EXPECT_FALSE(reader.AtEnd());
            EXPECT_THROW(reader.ReadRecord(), ShapefileError);
        }
    }
}

TEST(ShapefileReaderRejects, AfterASeekTheMessageGivesTheRecordOffset) {
    TempDir dir;
    ShpBuilder b(5);
    b.AddPoint(1, 1);
    b.AddRaw(Polygon(1, 50, {0}, 2));
    TFileSHP reader;
    ASSERT_TRUE(OpenWithHeader(reader, Write(dir, "seek.shp", b.Bytes())));
    reader.SeekTo(128);
    try {
        reader.ReadRecord();
        ADD_FAILURE() << "read without error";
    } catch (const ShapefileError& e) {
        EXPECT_NE(std::string(e.what()).find("seek.shp"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("at byte 128"), std::string::npos) << e.what();
    }
}

TEST(ShapefileReaderShapeTypes, NamesClassesAndMeasuresOfTheShapeTypeCodes) {
    struct Row {
        std::int32_t code;
        const char* name;
        int cls;
        bool z, m;
    };
    const Row rows[] = {
        {0, "Null", 0, false, false},          {1, "Point", 1, false, false},
        {3, "Polyline", 2, false, false},      {5, "Polygon", 3, false, false},
        {8, "MultiPoint", 1, false, false},    {11, "PointZ", 1, true, true},
        {13, "PolylineZ", 2, true, true},      {15, "PolygonZ", 3, true, true},
        {18, "MultiPointZ", 1, true, true},    {21, "PointM", 1, false, true},
        {23, "PolylineM", 2, false, true},     {25, "PolygonM", 3, false, true},
        {28, "MultiPointM", 1, false, true},   {31, "MultiPatch", 0, true, true},
        {99, "Unknown", 0, false, false},      {2, "Unknown", 0, false, false},
        {-1, "Unknown", 0, false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ShapeTypeName(r.code), r.name) << r.code;
        EXPECT_EQ(ShapeClass(r.code), r.cls) << r.code;
        EXPECT_EQ(ShapeTypeHasZ(r.code), r.z) << r.code;
        EXPECT_EQ(ShapeTypeHasM(r.code), r.m) << r.code;
    }
}

// ---------------------------------------------------------------------------
// The real files

struct ReadOutcome {
    int records = 0;
    std::string error;  // empty when the file was read to its end
    std::vector<std::int64_t> offsets;
    std::vector<std::int32_t> contentLengths;
};

ReadOutcome ReadEverything(const fs::path& shp, const std::function<void(const TFileSHP&)>& each = {}) {
    ReadOutcome out;
    TFileSHP reader(shp.string());
    if (!reader.Open() || !reader.ReadHeader()) {
        out.error = reader.Error();
        return out;
    }
    try {
        while (!reader.AtEnd()) {
            const std::int64_t at = reader.Position();
            reader.ReadRecord();
            ++out.records;
            out.offsets.push_back(at);
            out.contentLengths.push_back(reader.ContentLength);
            if (each) each(reader);
        }
    } catch (const ShapefileError& e) {
        out.error = e.what();
        if (out.error.empty()) out.error = "(empty message)";
    }
    return out;
}

// The record offsets and content lengths that the index file lists.
std::vector<std::pair<std::int64_t, std::int32_t>> IndexEntries(const fs::path& shx) {
    const auto bytes = test::ReadBytes(shx);
    std::vector<std::pair<std::int64_t, std::int32_t>> out;
    auto be = [&](std::size_t at) {
        return static_cast<std::int32_t>(std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
                                         std::uint32_t(bytes[at + 2]) << 8 | std::uint32_t(bytes[at + 3]));
    };
    for (std::size_t at = 100; at + 8 <= bytes.size(); at += 8)
        out.emplace_back(2 * static_cast<std::int64_t>(be(at)), be(at + 4));
    return out;
}

TEST(ShapefileReaderRealFiles, PolygonFilesReadWithTheirKnownRecordCounts) {
    struct Known {
        const char* base;
        int records;
        int nulls;
    };
    for (const Known& k : {Known{"us-atlas/states", 56, 0}, Known{"us-atlas/counties", 3231, 1},
                           Known{"pyshp/blockgroups", 663, 0}, Known{"pyshp/merge", 6630, 0}}) {
        SCOPED_TRACE(k.base);
        TempDir dir;
        const fs::path shp = dir.CopyShared(k.base);
        int nulls = 0, multiPart = 0;
        int badBoxes = 0, badParts = 0, openRings = 0;
        const ReadOutcome r = ReadEverything(shp, [&](const TFileSHP& s) {
            if (s.RecordShapeType == 0) {
                ++nulls;
                return;
            }
            ASSERT_EQ(s.RecordShapeType, 5);
            if (s.NumParts > 1) ++multiPart;
            if (s.Points.Count() != s.NumPoints || s.Parts.Count() != s.NumParts || s.NumParts < 1 ||
                s.Parts.Item(1).Value != 0)
                ++badParts;
            for (const TCXY& p : s.Points.Items())
                if (p.X < s.RecordBox[0] || p.Y < s.RecordBox[1] || p.X > s.RecordBox[2] ||
                    p.Y > s.RecordBox[3])
                    ++badBoxes;
            TListaXY ring;
            for (std::int32_t i = 1; i <= s.NumParts; ++i) {
                if (i > 1 && s.Parts.Item(i).Value <= s.Parts.Item(i - 1).Value) ++badParts;
                if (!s.GetPart(i, ring) || ring.Items().front().X != ring.Items().back().X ||
                    ring.Items().front().Y != ring.Items().back().Y)
                    ++openRings;
            }
        });
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(r.records, k.records);
        EXPECT_EQ(nulls, k.nulls);
        EXPECT_EQ(badParts, 0);
        EXPECT_EQ(badBoxes, 0) << "points outside their record's box";
        EXPECT_EQ(openRings, 0);
        if (std::string(k.base) == "us-atlas/states") {
            EXPECT_GT(multiPart, 0);
        }

        // Every record starts where the index file says, with the length it gives.
        const auto index = IndexEntries(fs::path(shp).replace_extension(".shx"));
        ASSERT_EQ(index.size(), r.offsets.size());
        for (std::size_t i = 0; i < index.size(); ++i) {
            ASSERT_EQ(r.offsets[i], index[i].first) << "record " << i + 1;
            ASSERT_EQ(r.contentLengths[i], index[i].second) << "record " << i + 1;
        }
    }
}

// Every number in a line of WKT, in order.
std::vector<double> NumbersOf(const std::string& wkt) {
    std::vector<double> out;
    const char* p = wkt.data();
    const char* end = p + wkt.size();
    while (p < end) {
        if ((*p >= '0' && *p <= '9') || *p == '-' || *p == '.') {
            double v = 0;
            const auto r = std::from_chars(p, end, v);
            if (r.ec == std::errc()) {
                out.push_back(v);
                p = r.ptr;
                continue;
            }
        }
        ++p;
    }
    return out;
}

// The geometry line of `ogrinfo -q -fid`; empty when GDAL gave none.
std::string GdalGeometry(const fs::path& shp, int fid) {
    const std::string layer = shp.stem().string();
    const auto r = test::RunCommand("ogrinfo -q -fid " + std::to_string(fid) +
                                    " '" + shp.string() + "' '" + layer + "' 2>/dev/null");
    if (r.status != 0) return {};
    std::size_t at = 0;
    while (at < r.output.size()) {
        std::size_t eol = r.output.find('\n', at);
        if (eol == std::string::npos) eol = r.output.size();
        std::string line = r.output.substr(at, eol - at);
        line.erase(0, line.find_first_not_of(' '));
        for (const char* kind : {"POLYGON", "MULTIPOLYGON", "POINT", "LINESTRING", "MULTILINESTRING", "MULTIPOINT"})
            if (line.rfind(kind, 0) == 0) return line;
        at = eol + 1;
    }
    return {};
}

bool GdalAvailable() { return test::RunCommand("ogrinfo --version >/dev/null 2>&1").status == 0; }

TEST(ShapefileReaderRealFiles, VerticesAgreeWithGdal) {
    if (!GdalAvailable()) GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed";
    struct Pick {
        const char* base;
        std::vector<int> fids;  // 0-based, as GDAL counts
    };
    // A mix of single- and multi-part records (states 1 has 8 parts, 7 has 137).
    const Pick picks[] = {{"us-atlas/states", {0, 1, 7, 55}},
                          {"us-atlas/counties", {0, 7, 1000, 3230}},
                          {"pyshp/blockgroups", {0, 662}},
                          {"pyshp/merge", {4321}}};
    for (const Pick& pick : picks) {
        TempDir dir;
        const fs::path shp = dir.CopyShared(pick.base);
        std::set<int> wanted(pick.fids.begin(), pick.fids.end());
        std::map<int, std::vector<XY>> ours;
        int fid = 0;
        ReadEverything(shp, [&](const TFileSHP& s) {
            if (wanted.count(fid)) ours[fid] = AsPairs(s.Points);
            ++fid;
        });
        for (int f : pick.fids) {
            SCOPED_TRACE(std::string(pick.base) + " fid " + std::to_string(f));
            const std::string wkt = GdalGeometry(shp, f);
            ASSERT_FALSE(wkt.empty()) << "no geometry from GDAL";
            const std::vector<double> n = NumbersOf(wkt);
            ASSERT_EQ(n.size() % 2, 0u);
            std::vector<XY> theirs;
            for (std::size_t i = 0; i < n.size(); i += 2) theirs.emplace_back(n[i], n[i + 1]);
            std::vector<XY> mine = ours[f];
            ASSERT_EQ(mine.size(), theirs.size());
            // GDAL may put the rings of a multi-part polygon in another order.
            std::sort(mine.begin(), mine.end());
            std::sort(theirs.begin(), theirs.end());
            for (std::size_t i = 0; i < mine.size(); ++i) {
                ASSERT_NEAR(mine[i].first, theirs[i].first, 1e-9) << "vertex " << i;
                ASSERT_NEAR(mine[i].second, theirs[i].second, 1e-9) << "vertex " << i;
            }
        }
    }
}

TEST(ShapefileReaderRealFiles, MeasuresAgreeWithGdal) {
    if (!GdalAvailable()) GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed";
    for (const char* base : {"shapefile-js/pointm", "shapefile-js/polylinem", "shapefile-js/polygonm",
                             "shapefile-js/multipointm"}) {
        SCOPED_TRACE(base);
        TempDir dir;
        const fs::path shp = dir.CopyShared(base);
        std::vector<std::vector<double>> ours;  // x, y, m of each point, record by record
        const ReadOutcome r = ReadEverything(shp, [&](const TFileSHP& s) {
            std::vector<double> xym;
            ASSERT_EQ(s.MValues.Count(), s.Points.Count());
            for (std::int32_t i = 1; i <= s.Points.Count(); ++i) {
                xym.push_back(s.Points.Item(i).X);
                xym.push_back(s.Points.Item(i).Y);
                xym.push_back(s.MValues.Item(i).Value);
            }
            ours.push_back(xym);
        });
        ASSERT_EQ(r.error, "");
        ASSERT_GT(r.records, 0);
        // These files come without an index; GDAL rebuilds one in the scratch copy.
        ASSERT_EQ(test::RunCommand("ogrinfo --config SHAPE_RESTORE_SHX YES -q -so '" + shp.string() +
                                   "' '" + shp.stem().string() + "' >/dev/null 2>&1")
                      .status,
                  0);
        for (int f = 0; f < r.records; ++f) {
            SCOPED_TRACE(f);
            const std::string wkt = GdalGeometry(shp, f);
            ASSERT_NE(wkt.find(" M "), std::string::npos) << wkt;
            EXPECT_EQ(NumbersOf(wkt), ours[static_cast<std::size_t>(f)]) << wkt;
        }
    }
}

TEST(ShapefileReaderRealFiles, EveryFileIsReadToItsEndOrRejectedClearly) {
    const fs::path root = test::SharedData("README.md").parent_path();
    // Rejected on purpose: records with gaps between them and no index to find them by.
    const std::map<std::string, std::string> rejected = {
        {"shapefile-js/ne_10m_time_zones", "record 7 at byte 19556"},
    };
    std::vector<std::string> bases;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().extension() == ".shp")
            bases.push_back(fs::relative(entry.path(), root).replace_extension().generic_string());
    std::sort(bases.begin(), bases.end());
    ASSERT_GE(bases.size(), 25u);
    for (const std::string& base : bases) {
        SCOPED_TRACE(base);
        TempDir dir;
        const fs::path shp = dir.CopyShared(base);
        const ReadOutcome r = ReadEverything(shp);
        const auto it = rejected.find(base);
        if (it != rejected.end()) {
            EXPECT_NE(r.error.find(shp.filename().string()), std::string::npos) << r.error;
            EXPECT_NE(r.error.find(it->second), std::string::npos) << r.error;
            continue;
        }
        EXPECT_EQ(r.error, "");
        const fs::path shx = fs::path(shp).replace_extension(".shx");
        if (fs::exists(shx)) {
            EXPECT_EQ(static_cast<std::size_t>(r.records), IndexEntries(shx).size());
        }
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

TEST(ByteRanges, NearRangesShareAReadWithinItsLimit) {
    struct Case {
        std::vector<ByteRange> sorted;
        std::vector<std::pair<std::size_t, std::size_t>> reads;  // [first, last) of each read
    };
    const Case cases[] = {
        {{}, {}},
        {{{100, 10}}, {{0, 1}}},
        {{{100, 10}, {110, 10}, {125, 5}}, {{0, 3}}},         // adjacent, then a gap of 5
        {{{100, 10}, {116, 10}}, {{0, 1}, {1, 2}}},            // a gap of 6 is too wide
        {{{100, 10}, {105, 10}, {100, 30}}, {{0, 3}}},        // overlaps
        {{{0, 40}, {40, 40}, {80, 40}, {120, 40}}, {{0, 2}, {2, 4}}},  // at most 100 bytes a read
        {{{0, 10}, {10, 500}, {510, 10}}, {{0, 1}, {1, 2}, {2, 3}}},   // a long range reads alone
    };
    for (const Case& c : cases) {
        const std::vector<GroupedRead> reads = GroupReads(c.sorted, 5, 100);
        ASSERT_EQ(reads.size(), c.reads.size());
        for (std::size_t i = 0; i < reads.size(); ++i) {
            EXPECT_EQ(reads[i].first, c.reads[i].first);
            EXPECT_EQ(reads[i].last, c.reads[i].second);
            // Each read spans its ranges exactly.
            std::int64_t end = 0;
            for (std::size_t k = reads[i].first; k < reads[i].last; ++k)
                end = std::max(end, c.sorted[k].offset + static_cast<std::int64_t>(c.sorted[k].size));
            EXPECT_EQ(reads[i].offset, c.sorted[reads[i].first].offset);
            EXPECT_EQ(reads[i].offset + static_cast<std::int64_t>(reads[i].size), end);
        }
    }
}

TEST(ShapefileReader, RangesAndRecordsFromFetchedBytesMatchTheFile) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    const std::vector<unsigned char> file = test::ReadBytes(shp);
    TFileSHP reader(shp.string());
    ASSERT_TRUE(reader.Open());

    // Ranges in any order: near and far, overlapping, repeated, empty, the whole file.
    std::mt19937 random(7);
    std::vector<ByteRange> ranges = {{0, file.size()}, {5, 0}, {10, 20}, {10, 20}, {25, 100}};
    for (int i = 0; i < 300; ++i) {
        const auto offset = std::uniform_int_distribution<std::size_t>(0, file.size() - 1)(random);
        const auto size = std::uniform_int_distribution<std::size_t>(0, std::min<std::size_t>(3000, file.size() - offset))(random);
        ranges.push_back({static_cast<std::int64_t>(offset), size});
    }
    HugePageVector<unsigned char> into;
    std::vector<std::size_t> at;
    reader.ReadRanges(ranges, into, at);
    for (std::size_t i = 0; i < ranges.size(); ++i)
        ASSERT_TRUE(std::equal(into.begin() + static_cast<std::ptrdiff_t>(at[i]),
                               into.begin() + static_cast<std::ptrdiff_t>(at[i] + ranges[i].size),
                               file.begin() + ranges[i].offset))
            << "range " << i;
    EXPECT_THROW(reader.ReadRanges(std::vector<ByteRange>{{static_cast<std::int64_t>(file.size()) - 4, 8}}, into, at),
                 ShapefileError);

    // A record read from fetched bytes is the record read from the file, also when
    // the fetched bytes stop short of its end.
    TFileSHP direct(shp.string());
    ASSERT_TRUE(direct.Open() && direct.ReadHeader());
    for (int k = 0; !direct.AtEnd(); ++k) {
        const std::int64_t offset = direct.Position();
        direct.ReadRecord();
        const std::size_t size = static_cast<std::size_t>(direct.Position() - offset);
        const std::size_t fetched = k % 3 == 0 ? size / 2 : size;
        reader.ReadRecordAt(offset, file.data() + offset, fetched);
        ASSERT_EQ(reader.Points.Count(), direct.Points.Count()) << "record " << k + 1;
        ASSERT_EQ(reader.Parts.Count(), direct.Parts.Count()) << "record " << k + 1;
        for (std::int32_t i = 1; i <= reader.Points.Count(); ++i)
            ASSERT_TRUE(reader.Points.Item(i).X == direct.Points.Item(i).X && reader.Points.Item(i).Y == direct.Points.Item(i).Y);
        for (std::int32_t i = 1; i <= reader.Parts.Count(); ++i) ASSERT_EQ(reader.Parts.Item(i).Value, direct.Parts.Item(i).Value);
        EXPECT_EQ(reader.Position(), direct.Position());
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

TEST(ByteRanges, RadixSortIsAStableSortOnTheChosenBytes) {
    std::mt19937_64 random(3);
    for (const auto& [from, to] : {std::pair{0, 8}, {3, 8}, {4, 8}, {0, 2}, {2, 5}}) {
        std::vector<std::uint64_t> keys(3000), spare(keys.size());
        for (std::uint64_t& k : keys) k = random() & 0x00FF0F00FFFF00FFull;  // some bytes shared by all
        std::vector<std::uint64_t> expected = keys;
        const std::uint64_t mask = (to == 8 ? ~0ull : (1ull << (8 * to)) - 1) & ~((1ull << (8 * from)) - 1);
        std::stable_sort(expected.begin(), expected.end(), [&](auto a, auto b) { return (a & mask) < (b & mask); });
        RadixSort(keys, spare, from, to);
        EXPECT_EQ(keys, expected) << "bytes " << from << " to " << to;
    }
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// A record of more than a megabyte is read straight into the point list: it must
// read exactly as the same record does from bytes already in memory.
TEST(ShapefileReader, ALargeRecordReadsAsFromMemory) {
    RawShape s;
    s.type = 15;
    s.parts = {0, 30000, 60000};
    for (int k = 0; k < 70000; ++k) {
        s.points.push_back({k * 0.5, -k * 0.25});
        s.z.push_back(k);
        s.m.push_back(-k);
    }
    ShpBuilder b(15);
    b.AddPoint(1, 2);
    b.AddRaw(Content(s));
    TempDir dir;
    const fs::path path = dir / "large.shp";
    const std::vector<unsigned char> bytes = b.Bytes();
    test::WriteBytes(path, bytes);

    TFileSHP file(path.string()), memory(path.string());
    ASSERT_TRUE(file.Open() && file.ReadHeader() && memory.Open());
    file.ReadRecord();
    const std::int64_t offset = file.Position();
    file.ReadRecord();
    ASSERT_GT(static_cast<std::size_t>(file.Position() - offset), TFileSHP::kLargeRecordBytes);
    memory.ReadRecordAt(offset, bytes.data() + offset, bytes.size() - static_cast<std::size_t>(offset));
    for (const TFileSHP* r : {&file, &memory}) {
        ASSERT_EQ(r->Points.Count(), 70000);
        EXPECT_EQ(r->Points.Item(70000).X, 69999 * 0.5);
        EXPECT_EQ(r->Points.Item(1).Y, 0);
        ASSERT_EQ(r->Parts.Count(), 3);
        EXPECT_EQ(r->Parts.Item(3).Value, 60000);
        ASSERT_EQ(r->ZValues.Count(), 70000);
        EXPECT_EQ(r->ZValues.Item(70000).Value, 69999);
        ASSERT_EQ(r->MValues.Count(), 70000);
        EXPECT_EQ(r->MValues.Item(2).Value, -1);
    }
    for (std::int32_t i = 1; i <= 70000; ++i)
        ASSERT_TRUE(file.Points.Item(i).X == memory.Points.Item(i).X && file.Points.Item(i).Y == memory.Points.Item(i).Y);
}

}  // namespace
}  // namespace tessaly
