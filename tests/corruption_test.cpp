// Damaged copies of the real files: each must be read to its end or rejected with
// our own error, never crash, hang or read outside what it holds. Run under
// AddressSanitizer to catch reads past a buffer that happen to give no error.

#include "input/dbf_table.h"
#include "input/shapefile_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Fixed, so that a failure is the same failure on every run and every machine.
constexpr std::uint32_t kSeed = 20240611;

struct Damage {
    std::vector<unsigned char> bytes;
    std::string what;  // for the failure message
};

// Flips bytes at random places, often in the header where the counts and lengths
// live, and cuts the file short at a random length, or both.
Damage Corrupt(const std::vector<unsigned char>& original, std::size_t headerSize, std::mt19937& rng) {
    Damage d{original, ""};
    const std::uint32_t kind = rng() % 3;  // 0 flip, 1 cut, 2 both
    if (kind != 1 && !d.bytes.empty()) {
        const std::uint32_t flips = 1 + rng() % 8;
        for (std::uint32_t i = 0; i < flips; ++i) {
            const std::size_t limit = rng() % 2 == 0 ? std::min(headerSize, d.bytes.size()) : d.bytes.size();
            const std::size_t at = rng() % limit;
            unsigned char value;
            switch (rng() % 4) {
                case 0: value = 0xFF; break;
                case 1: value = 0x00; break;
                case 2: value = static_cast<unsigned char>(d.bytes[at] ^ (1u << (rng() % 8))); break;
                default: value = static_cast<unsigned char>(rng()); break;
            }
            d.bytes[at] = value;
            d.what += " byte " + std::to_string(at) + "=" + std::to_string(value);
        }
    }
    if (kind != 0) {
        const std::size_t size = d.bytes.empty() ? 0 : rng() % d.bytes.size();
        d.bytes.resize(size);
        d.what += " cut to " + std::to_string(size);
    }
    return d;
}

struct Tally {
    int read = 0;
    int rejected = 0;
};

bool IsMultiPart(std::int32_t t) {
    return t == 3 || t == 5 || t == 13 || t == 15 || t == 23 || t == 25 || t == 31;
}
bool IsMultiPoint(std::int32_t t) { return t == 8 || t == 18 || t == 28; }
bool IsPoint(std::int32_t t) { return t == 1 || t == 11 || t == 21; }

// Reads the file to its end, checking that what each record leaves fits together.
void ReadShapefile(const fs::path& path, Tally& tally) {
    TFileSHP reader(path.string());
    ASSERT_TRUE(reader.Open()) << reader.Error();
    if (!reader.ReadHeader()) {
        EXPECT_NE(reader.Error().find(path.filename().string()), std::string::npos) << reader.Error();
        ++tally.rejected;
        return;
    }
    // Every record takes at least 12 bytes: more would mean the reader went back.
    const std::int64_t most = reader.FileSize() / 12 + 1;
    std::int64_t records = 0;
    try {
        TListaXY part;
        while (!reader.AtEnd()) {
            const std::int64_t at = reader.Position();
            reader.ReadRecord();
            ASSERT_LE(++records, most);
            ASSERT_EQ(reader.Position(), at + 8 + 2 * static_cast<std::int64_t>(reader.ContentLength));
            ASSERT_LE(reader.Position(), reader.FileSize());
            const std::int32_t t = reader.RecordShapeType;
            if (IsPoint(t)) {
                ASSERT_EQ(reader.Points.Count(), 1);
            }
            if (IsMultiPoint(t) || IsMultiPart(t)) {
                ASSERT_EQ(reader.Points.Count(), reader.NumPoints);
                ASSERT_LE(reader.ZValues.Count(), reader.NumPoints);
                ASSERT_LE(reader.MValues.Count(), reader.NumPoints);
            }
            if (IsMultiPart(t)) {
                ASSERT_EQ(reader.Parts.Count(), reader.NumParts);
                for (const TNInteger& p : reader.Parts.Items()) {
                    ASSERT_GE(p.Value, 0);
                    ASSERT_LE(p.Value, reader.NumPoints);
                }
                // Parts may be out of order in a damaged file; no copy reaches outside the points.
                for (std::int32_t i = 1; i <= reader.NumParts; ++i) {
                    reader.GetPart(i, part);
                    ASSERT_LE(part.Count(), reader.NumPoints);
                }
            }
        }
        ++tally.read;
    } catch (const ShapefileError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find(path.filename().string()), std::string::npos) << m;
        ++tally.rejected;
    }
}

// Opens the table and reads every value of every row both ways.
void ReadTable(const fs::path& path, Tally& tally) {
    try {
        DbfTable table(path.string());
        ASSERT_GE(table.RecordCount(), 0);
        // The rows must be in the file: a row count beyond it is rejected on opening.
        ASSERT_LE(static_cast<std::uintmax_t>(table.RecordCount()), fs::file_size(path));
        const int fields = static_cast<int>(table.Fields().size());
        for (int row = 0; row < table.RecordCount(); ++row) {
            table.IsDeleted(row);
            for (int f = 0; f < fields; ++f) {
                // A value comes from its field's bytes alone: UTF-8 takes at most 4 bytes each.
                const std::string text = table.Text(row, f);
                ASSERT_LE(text.size(), 4 * static_cast<std::size_t>(std::max(table.Fields()[f].width, 0)));
                table.Number(row, f);
            }
        }
        ++tally.read;
    } catch (const TableError& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find(path.filename().string()), std::string::npos) << m;
        ++tally.rejected;
    }
}

std::size_t DbfHeaderSize(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 10) return bytes.size();
    return std::max<std::size_t>(32, std::size_t(bytes[8]) | std::size_t(bytes[9]) << 8);
}

TEST(CorruptShapefiles, DamagedGeometryFilesAreReadOrRejected) {
    const char* sources[] = {
        "pyshp/blockgroups",         "us-atlas/states",          "pyshp/corrupt_too_long",
        "pyshp/latin1",              "shapefile-js/polygons",    "shapefile-js/polylines",
        "shapefile-js/points",       "shapefile-js/null",        "shapefile-js/multipoints",
        "shapefile-js/pointm",       "shapefile-js/polylinem",   "shapefile-js/polygonm",
        "shapefile-js/multipointm",  "shapefile-js/number-null-property",
    };
    constexpr int kCasesPerSource = 100;
    TempDir dir;
    std::mt19937 rng(kSeed);
    Tally originals, damaged;
    for (const char* base : sources) {
        const fs::path shp = dir.CopyShared(base);
        {
            SCOPED_TRACE(std::string(base) + " as it is");
            ReadShapefile(shp, originals);
        }
        const std::vector<unsigned char> original = test::ReadBytes(shp);
        for (int k = 0; k < kCasesPerSource; ++k) {
            const Damage d = Corrupt(original, 100 + 8 + 44, rng);
            const fs::path copy = dir / "damaged.shp";
            test::WriteBytes(copy, d.bytes);
            SCOPED_TRACE(std::string(base) + " case " + std::to_string(k) + ":" + d.what);
            ReadShapefile(copy, damaged);
            if (HasFatalFailure()) return;
        }
    }
    // None is damaged as it comes: corrupt_too_long's stray bytes after its last
    // record are left alone.
    EXPECT_EQ(originals.rejected, 0);
    // Both outcomes occur, or the damage is not testing what it should.
    EXPECT_GT(damaged.read, 20);
    EXPECT_GT(damaged.rejected, 20);
    std::printf("damaged .shp files: %d read to the end, %d rejected\n", damaged.read, damaged.rejected);
}

TEST(CorruptTables, DamagedAttributeTablesAreReadOrRejected) {
    const char* sources[] = {
        "pyshp/blockgroups",            "us-atlas/states",
        "pyshp/latin1",                 "pyshp/corrupt_too_long",
        "shapefile-js/mixed-properties", "shapefile-js/number-null-property",
        "shapefile-js/boolean-property", "shapefile-js/date-property",
        "shapefile-js/string-property", "shapefile-js/utf8-property",
        "shapefile-js/latin1-property", "shapefile-js/null",
        "shapefile-js/polygons",        "shapefile-js/empty",
    };
    constexpr int kCasesPerSource = 100;
    TempDir dir;
    std::mt19937 rng(kSeed + 1);
    Tally originals, damaged;
    for (const char* base : sources) {
        const fs::path dbf = fs::path(dir.CopyShared(base)).replace_extension(".dbf");
        {
            SCOPED_TRACE(std::string(base) + " as it is");
            ReadTable(dbf, originals);
        }
        const std::vector<unsigned char> original = test::ReadBytes(dbf);
        // The copy keeps the code page file of its table, if it has one.
        const fs::path cpg = fs::path(dbf).replace_extension(".cpg");
        if (fs::exists(cpg))
            fs::copy_file(cpg, dir / "damaged.cpg", fs::copy_options::overwrite_existing);
        else
            fs::remove(dir / "damaged.cpg");
        for (int k = 0; k < kCasesPerSource; ++k) {
            const Damage d = Corrupt(original, DbfHeaderSize(original), rng);
            const fs::path copy = dir / "damaged.dbf";
            test::WriteBytes(copy, d.bytes);
            SCOPED_TRACE(std::string(base) + " case " + std::to_string(k) + ":" + d.what);
            ReadTable(copy, damaged);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_EQ(originals.rejected, 0);
    EXPECT_EQ(originals.read, static_cast<int>(std::size(sources)));
    EXPECT_GT(damaged.read, 20);
    EXPECT_GT(damaged.rejected, 20);
    std::printf("damaged .dbf files: %d read to the end, %d rejected\n", damaged.read, damaged.rejected);
}

// Damage that shapelib refuses without saying why: the message must still say it.
TEST(CorruptTables, RefusedHeadersAreExplained) {
    TempDir dir;
    const fs::path dbf = fs::path(dir.CopyShared("us-atlas/states")).replace_extension(".dbf");
    const std::vector<unsigned char> original = test::ReadBytes(dbf);
    // states.dbf: a 97-byte header, 161-byte records, two text fields of 80 bytes.
    ASSERT_EQ(original[8], 97);
    ASSERT_EQ(original[10], 161);
    struct Case {
        const char* what;
        std::vector<std::pair<std::size_t, unsigned char>> bytes;
        std::size_t cut;  // 0: not cut
        const char* expected;
    };
    const Case cases[] = {
        {"second field wider than the record", {{80, 0xFF}}, 0, "2 fields take 336 bytes"},
        {"record length below the fields", {{10, 10}}, 0, "more than its record length of 10"},
        {"record length 0", {{10, 0}, {11, 0}}, 0, "record length is 0"},
        {"header length below 32", {{8, 31}}, 0, "header length of 31 bytes"},
        {"header length past the file", {{9, 0xFF}}, 0, "more than the file holds (9114)"},
        {"cut inside the field descriptors", {}, 60, "header length of 97 bytes is more than the file holds (60)"},
        {"cut inside the table header", {}, 20, "20 bytes, too few"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> bytes = original;
        for (const auto& [at, value] : c.bytes) bytes[at] = value;
        if (c.cut > 0) bytes.resize(c.cut);
        const fs::path copy = dir / "damaged.dbf";
        test::WriteBytes(copy, bytes);
        try {
            DbfTable table(copy.string());
            ADD_FAILURE() << "opened with " << table.RecordCount() << " rows";
        } catch (const TableError& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("damaged.dbf"), std::string::npos) << m;
            EXPECT_NE(m.find(c.expected), std::string::npos) << m;
        }
    }
}

}  // namespace
}  // namespace tessaly
