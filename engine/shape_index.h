#pragma once
// The program's own index of a shapefile: one 40-byte entry per record with its
// byte offset and box, so that any record is reached with one seek.

#include "input/huge_pages.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly {

class ShapeIndexError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ShapeIndexEntry {
    std::int32_t Position = 0;  // 1 for the first record; 0 in the header entry
    std::uint32_t Offset = 0;   // byte offset of the record header in the .shp file
    double Xmin = 0, Ymin = 0, Xmax = 0, Ymax = 0;
};

constexpr std::size_t kShapeIndexEntrySize = 40;

class TShapeIndex {
public:
    TShapeIndex() = default;
    ~TShapeIndex() { Close(); }
    TShapeIndex(const TShapeIndex&) = delete;
    TShapeIndex& operator=(const TShapeIndex&) = delete;

    // ShapeIndexPathFor(path).
    void SetFileName(const std::string& path);
    const std::string& FileName() const { return fileName_; }

    // Opens an existing index; false, creating nothing, when there is none.
    bool Open();
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Number of record entries (the header entry not counted).
    std::int32_t EntryCount() const { return entryCount_; }
    // Entry k (0 is the header entry); throws ShapeIndexError past the end.
    ShapeIndexEntry ReadEntry(std::int32_t k);
    // The offset of entry k, as ReadEntry gives it, without a read: the offsets are
    // held in memory from the first call on (4 bytes a record).
    std::uint32_t RecordOffset(std::int32_t k);
    // Asks for entry k's offset to be brought into the cache, for records visited in
    // an order of their own.
    void PrefetchOffset(std::int32_t k) const {
        if (k >= 0 && static_cast<std::size_t>(k) < offsets_.size()) __builtin_prefetch(&offsets_[static_cast<std::size_t>(k)]);
    }

private:
    void LoadOffsets();

    std::string fileName_;
    int fd_ = -1;
    HugePageVector<std::uint32_t> offsets_;
    std::int32_t entryCount_ = 0;
};

// The index that belongs beside path: the path with its extension replaced by
// ".idx", so the working table "tessaly.dbf" has "tessaly.idx".
std::string ShapeIndexPathFor(const std::string& path);

// Scans the shapefile once and writes its index, replacing any earlier file;
// returns the number of stray bytes after the last record, too few for another.
// Throws ShapefileError for a shapefile that cannot be read, ShapeIndexError when
// the index cannot be written; no partial index is left behind.
std::int64_t BuildShapeIndex(const std::string& shapefilePath, const std::string& indexPath);

}  // namespace tessaly
