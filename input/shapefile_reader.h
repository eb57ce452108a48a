#pragma once
// Reader of the geometry file (.shp) of an ESRI shapefile, one record at a time.

#include "input/byte_ranges.h"
#include "input/coordinate_lists.h"
#include "input/huge_pages.h"
#include "input/shape_type.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly {

// A shapefile that cannot be read as one; the message names the file and the record.
class ShapefileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFileSHP {
public:
    TFileSHP() = default;
    explicit TFileSHP(std::string fileName) : FileName(std::move(fileName)) {}
    ~TFileSHP() { Close(); }
    TFileSHP(const TFileSHP&) = delete;
    TFileSHP& operator=(const TFileSHP&) = delete;

    std::string FileName;

    // Records from this size on are read straight into Points, not through a buffer.
    static constexpr std::size_t kLargeRecordBytes = std::size_t{1} << 20;
    static constexpr std::int64_t kRecordHeaderBytes = 8;

    // Main header.
    std::int32_t FileLength = 0;  // in 16-bit words, as the header states it
    std::int32_t FileCode = 0;
    std::int32_t Version = 0;
    std::int32_t ShapeType = 0;  // a code of enum ShapeType, or any other the file holds
    double Xmin = 0, Ymin = 0, Xmax = 0, Ymax = 0, Zmin = 0, Zmax = 0, Mmin = 0, Mmax = 0;

    // Current record. Only the fields of the record's own type describe it;
    // the others keep what an earlier record left.
    std::int32_t RecordNumber = 0;
    std::int32_t ContentLength = 0;  // in 16-bit words
    std::int32_t RecordShapeType = 0;
    std::array<double, 4> RecordBox{};  // Xmin, Ymin, Xmax, Ymax
    std::int32_t NumParts = 0;
    std::int32_t NumPoints = 0;
    TListaInt Parts;  // 0-based start of each part in Points, as stored
    TListaXY Points;
    TListaDouble ZValues;
    TListaDouble MValues;

    // Opens FileName for reading; on failure Error() says why.
    bool Open();
    // Reads the 100-byte main header at the current position; false (with Error())
    // for an empty file, a wrong file code or a header cut short.
    bool ReadHeader();
    // Reads the record at the current position and leaves the position at the next
    // record (offset + 8 + 2 x content length). Throws ShapefileError when the record
    // does not fit the file or its counts do not fit the record.
    void ReadRecord();
    void SeekTo(std::int64_t offset);
    // As SeekTo(offset) and ReadRecord, but taking the record's bytes from `fetched`,
    // which holds the file's bytes from offset on (read there when it is too short).
    void ReadRecordAt(std::int64_t offset, const unsigned char* fetched, std::size_t size);
    // Reads the ranges, which must lie inside the file, into `into`, back to back in
    // the order given; at[i] is where range i begins. Few calls for many ranges.
    void ReadRanges(std::span<const ByteRange> ranges, HugePageVector<unsigned char>& into,
                    std::vector<std::size_t>& at);
    // At the end when not even a record header is left: a few stray bytes after the
    // last record, which other readers ignore too, are left alone.
    bool AtEnd() const { return fileSize_ - position_ < kRecordHeaderBytes; }
    // At the end, the stray bytes after the last record.
    std::int64_t TrailingBytes() const { return AtEnd() ? std::max<std::int64_t>(fileSize_ - position_, 0) : 0; }
    std::int64_t Position() const { return position_; }
    std::int64_t FileSize() const { return fileSize_; }
    // Copies part i (1-based) of the current record into target; true when it
    // holds two or more points.
    bool GetPart(std::int32_t i, TListaXY& target) const;
    void Close();

    const std::string& Error() const { return error_; }

private:
    [[noreturn]] void Fail(std::int64_t recordOffset, const std::string& what) const;
    void DecodeRecordBody(std::int64_t recordOffset, const unsigned char* content, std::size_t size);
    // The bytes [offset, offset + n) where the fetched bytes or the buffer already
    // hold them; null where neither does.
    const unsigned char* Held(std::int64_t offset, std::size_t n) const;
    // The bytes [offset, offset + n) of the file, which the caller has checked lie
    // inside it; valid until the next call.
    const unsigned char* Bytes(std::int64_t offset, std::size_t n);
    // Reads the content of a large multi-point or multi-part record at start into
    // Points' own storage and decodes it there; false when it is not such a record.
    bool ReadIntoPoints(std::int64_t start, std::size_t bytes);
    // Fills [target, target + n) with the bytes from offset on.
    void ReadExactly(unsigned char* target, std::int64_t offset, std::size_t n);

    int fd_ = -1;
    bool open_ = false;
    // What the last read brought: a large block when records are read in file order,
    // a small one around a record reached by a seek.
    HugePageVector<unsigned char> buffer_;
    std::int64_t bufferStart_ = 0;
    // ReadRanges' scratch lists.
    HugePageVector<std::uint64_t> byOffset_, spare_;
    std::vector<ByteRange> sorted_;
    // Bytes fetched by the caller (ReadRecordAt), looked at before the buffer.
    const unsigned char* fetched_ = nullptr;
    std::int64_t fetchedStart_ = 0;
    std::size_t fetchedSize_ = 0;
    std::int64_t fileSize_ = 0;
    std::int64_t position_ = 0;
    std::int64_t ordinal_ = 0;  // 1-based position of the current record when read in order; 0 after a seek
    std::string error_;
};

}  // namespace tessaly
