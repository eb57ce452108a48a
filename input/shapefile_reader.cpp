#include "input/shapefile_reader.h"

#include "input/byte_order.h"
#include "input/huge_pages.h"
#include "input/positioned_io.h"
#include "input/radix_sort.h"
#include "input/shapefile_parts.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr std::int32_t kFileCode = 9994;
constexpr std::size_t kHeaderSize = 100;
// Records read in file order come in blocks of this size; a record reached by a
// seek comes with what follows it up to this size, enough for most records at once.
constexpr std::size_t kSequentialBlock = std::size_t{1} << 20;
constexpr std::size_t kSeekBlock = std::size_t{1} << 10;

std::string SystemError() { return std::strerror(errno); }

// Walks the content of one record; every read is checked against what the record holds.
class RecordCursor {
public:
    RecordCursor(const unsigned char* data, std::size_t size) : p_(data), left_(size) {}

    std::size_t Left() const { return left_; }
    bool Has(std::size_t n) const { return n <= left_; }

    std::int32_t Int() {
        const std::int32_t v = LoadI32LE(p_);
        Skip(4);
        return v;
    }
    double Double() {
        const double v = LoadF64LE(p_);
        Skip(8);
        return v;
    }
    void Skip(std::size_t n) {
        p_ += n;
        left_ -= n;
    }
    const unsigned char* Here() const { return p_; }

private:
    const unsigned char* p_;
    std::size_t left_;
};

void ReadPoints(RecordCursor& c, std::int32_t n, TListaXY& points) {
    auto& items = points.Items();
    const unsigned char* p = c.Here();
    if constexpr (std::endian::native == std::endian::little && sizeof(TCXY) == 16) {
        // The file's X, Y pairs are the list's own layout on this machine.
        // memmove: a large record is read into the list's own storage (ReadRecord).
        items.resize(static_cast<std::size_t>(n));
        if (n > 0) std::memmove(static_cast<void*>(items.data()), p, static_cast<std::size_t>(n) * 16);
    } else {
        points.Clear();
        points.Reserve(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k, p += 16) points.Add(LoadF64LE(p), LoadF64LE(p + 8));
    }
    c.Skip(static_cast<std::size_t>(n) * 16);
}

// A Z or M block: its range, then one value a point. Optional at the end of a record
// (many writers leave out the M block); a block cut short is left unread.
void ReadMeasureBlock(RecordCursor& c, std::int32_t n, TListaDouble& values) {
    values.Clear();
    const std::size_t need = 16 + static_cast<std::size_t>(n) * 8;
    if (!c.Has(need)) return;
    c.Skip(16);
    values.Reserve(static_cast<std::size_t>(n));
    for (std::int32_t k = 0; k < n; ++k) values.Add(c.Double());
}

// How a record lays out what follows its shape type.
enum class Layout { Empty, Point, MultiPoint, MultiPart, Unknown };

Layout LayoutOf(std::int32_t code) {
    switch (ShapeTypeOf(code)) {
        case ShapeType::Null: return Layout::Empty;
        case ShapeType::Point: case ShapeType::PointZ: case ShapeType::PointM: return Layout::Point;
        case ShapeType::MultiPoint: case ShapeType::MultiPointZ: case ShapeType::MultiPointM: return Layout::MultiPoint;
        case ShapeType::Polyline: case ShapeType::Polygon: case ShapeType::PolylineZ: case ShapeType::PolygonZ:
        case ShapeType::PolylineM: case ShapeType::PolygonM: case ShapeType::MultiPatch: return Layout::MultiPart;
    }
    return Layout::Unknown;
}

}  // namespace

bool TFileSHP::Open() {
    Close();
    error_.clear();
    const int fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error_ = FileName + ": cannot open: " + SystemError();
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = FileName + ": not a regular file";
        ::close(fd);
        return false;
    }
    fd_ = fd;
    fileSize_ = static_cast<std::int64_t>(st.st_size);
    buffer_.clear();
    bufferStart_ = 0;
    position_ = 0;
    ordinal_ = 0;
    open_ = true;
    return true;
}

void TFileSHP::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    open_ = false;
}

const unsigned char* TFileSHP::Held(std::int64_t offset, std::size_t n) const {
    const auto end = offset + static_cast<std::int64_t>(n);
    if (fetched_ != nullptr && offset >= fetchedStart_ && end <= fetchedStart_ + static_cast<std::int64_t>(fetchedSize_))
        return fetched_ + (offset - fetchedStart_);
    if (offset >= bufferStart_ && end <= bufferStart_ + static_cast<std::int64_t>(buffer_.size()))
        return buffer_.data() + (offset - bufferStart_);
    return nullptr;
}

const unsigned char* TFileSHP::Bytes(std::int64_t offset, std::size_t n) {
    if (const unsigned char* held = Held(offset, n)) return held;
    const std::int64_t bufferEnd = bufferStart_ + static_cast<std::int64_t>(buffer_.size());
    // Reading on from the buffer is reading in file order.
    const bool inOrder = offset >= bufferStart_ && offset <= bufferEnd;
    const auto want = std::max(n, inOrder ? kSequentialBlock : kSeekBlock);
    const auto size = static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize_ - offset, 0, static_cast<std::int64_t>(want)));
    buffer_.resize(std::max(size, n));
    bufferStart_ = offset;
    try {
        ReadExactly(buffer_.data(), offset, size);
    } catch (...) {
        buffer_.clear();
        throw;
    }
    return buffer_.data();
}

void TFileSHP::ReadExactly(unsigned char* target, std::int64_t offset, std::size_t n) {
    const std::int64_t got = ReadAt(fd_, target, n, offset);
    if (got != static_cast<std::int64_t>(n)) {
        const std::string why = got < 0 ? SystemError() : std::string("unexpected end of file");
        throw ShapefileError(FileName + ": read error at byte " + std::to_string(offset + std::max<std::int64_t>(got, 0)) + ": " + why);
    }
}

void TFileSHP::ReadRanges(std::span<const ByteRange> ranges, HugePageVector<unsigned char>& into,
                          std::vector<std::size_t>& at) {
    // A pread costs about as much as copying this many bytes: nearer ranges are read
    // together, gap and all.
    constexpr std::size_t kGap = 16 << 10;
    constexpr std::size_t kMaxRead = 1 << 20;
    if (!open_) throw ShapefileError(FileName + ": not open");
    at.resize(ranges.size());
    std::size_t total = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (ranges[i].offset < 0 || ranges[i].offset + static_cast<std::int64_t>(ranges[i].size) > fileSize_)
            throw ShapefileError(FileName + ": bytes " + std::to_string(ranges[i].offset) + " to " +
                                 std::to_string(ranges[i].offset + static_cast<std::int64_t>(ranges[i].size)) +
                                 " lie outside the file of " + std::to_string(fileSize_) + " bytes");
        at[i] = total;
        total += ranges[i].size;
    }
    if (into.size() < total) {
        into.clear();
        into.resize(total);
    }
    // Rows in label order ask for records in any order, in table order they come
    // sorted: each key is an offset over the range's place in the list.
    constexpr int kPlaceBits = 24;
    if (ranges.size() >= (std::size_t{1} << kPlaceBits) || fileSize_ >= (std::int64_t{1} << (64 - kPlaceBits)))
        throw ShapefileError(FileName + ": too many ranges at once, or too large a file, to sort by place");
    // The scratch lists only grow, so that batch after batch neither allocates nor clears.
    const std::size_t n = ranges.size();
    if (byOffset_.size() < n) byOffset_.resize(n), spare_.resize(n), sorted_.resize(n);
    const std::span<std::uint64_t> byOffset(byOffset_.data(), n);
    const std::span<ByteRange> sorted(sorted_.data(), n);
    for (std::size_t i = 0; i < n; ++i)
        byOffset[i] = static_cast<std::uint64_t>(ranges[i].offset) << kPlaceBits | i;
    if (!std::is_sorted(byOffset.begin(), byOffset.end())) RadixSort(byOffset, spare_, 3, 8);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t place = byOffset[i] & ((std::uint64_t{1} << kPlaceBits) - 1);
        sorted[i] = ranges[place];
        byOffset[i] = place;
    }
    for (const GroupedRead& g : GroupReads(sorted, kGap, kMaxRead)) {
        if (g.last - g.first == 1) {
            ReadExactly(into.data() + at[byOffset[g.first]], g.offset, g.size);
            continue;
        }
        buffer_.resize(g.size);
        bufferStart_ = g.offset;
        try {
            ReadExactly(buffer_.data(), g.offset, g.size);
        } catch (...) {
            buffer_.clear();
            throw;
        }
        for (std::size_t k = g.first; k < g.last; ++k)
            if (sorted[k].size > 0)
                std::memcpy(into.data() + at[byOffset[k]], buffer_.data() + (sorted[k].offset - g.offset), sorted[k].size);
    }
}

void TFileSHP::SeekTo(std::int64_t offset) {
    if (!open_) throw ShapefileError(FileName + ": not open");
    if (offset < 0 || offset > fileSize_)
        throw ShapefileError(FileName + ": offset " + std::to_string(offset) +
                             " lies outside the file of " + std::to_string(fileSize_) + " bytes");
    position_ = offset;
    ordinal_ = 0;
}

void TFileSHP::ReadRecordAt(std::int64_t offset, const unsigned char* fetched, std::size_t size) {
    SeekTo(offset);
    fetched_ = fetched;
    fetchedStart_ = offset;
    fetchedSize_ = size;
    struct Forget {
        TFileSHP& reader;
        ~Forget() { reader.fetched_ = nullptr; }
    } forget{*this};
    ReadRecord();
}

bool TFileSHP::ReadHeader() {
    error_.clear();
    if (!open_) {
        error_ = FileName + ": not open";
        return false;
    }
    const auto got = static_cast<std::size_t>(std::clamp<std::int64_t>(fileSize_ - position_, 0, kHeaderSize));
    const unsigned char* h = Bytes(position_, got);
    position_ += static_cast<std::int64_t>(got);
    if (got == 0) {
        error_ = FileName + ": the file is empty, not a shapefile";
        return false;
    }
    if (got < 4 || LoadI32BE(h) != kFileCode) {
        error_ = FileName + ": not a shapefile (it does not start with the file code 9994)";
        return false;
    }
    FileCode = kFileCode;
    if (got < kHeaderSize) {
        error_ = FileName + ": the header is cut short (" + std::to_string(got) + " of " +
                 std::to_string(kHeaderSize) + " bytes)";
        return false;
    }
    FileLength = LoadI32BE(h + 24);
    Version = LoadI32LE(h + 28);
    ShapeType = LoadI32LE(h + 32);
    double* bounds[] = {&Xmin, &Ymin, &Xmax, &Ymax, &Zmin, &Zmax, &Mmin, &Mmax};
    for (int i = 0; i < 8; ++i) *bounds[i] = LoadF64LE(h + 36 + 8 * i);
    return true;
}

void TFileSHP::Fail(std::int64_t recordOffset, const std::string& what) const {
    const std::string which = ordinal_ > 0 ? "record " + std::to_string(ordinal_) : "the record";
    throw ShapefileError(FileName + ": " + which + " at byte " + std::to_string(recordOffset) +
                         ": " + what);
}

void TFileSHP::ReadRecord() {
    if (!open_) throw ShapefileError(FileName + ": not open");
    const std::int64_t start = position_;
    const std::int64_t left = fileSize_ - start;
    // Counting records is only meaningful from the first record on.
    ordinal_ = ordinal_ > 0 || start == static_cast<std::int64_t>(kHeaderSize) ? ordinal_ + 1 : 0;
    if (left <= 0) Fail(start, "there is no record to read: this is the end of the file");
    if (left < 8)
        Fail(start, "only " + std::to_string(left) +
                        " stray bytes remain at the end of the file where a record header of 8 "
                        "bytes should be");
    const unsigned char* head = Bytes(start, 8);
    position_ = start + 8;
    RecordNumber = LoadI32BE(head);
    ContentLength = LoadI32BE(head + 4);
    const std::int64_t bytes = 2 * static_cast<std::int64_t>(ContentLength);
    if (ContentLength < 2)
        Fail(start, "content length " + std::to_string(ContentLength) +
                        " words is too short to hold a shape type");
    if (bytes > left - 8)
        Fail(start, "content of " + std::to_string(bytes) + " bytes runs past the end of the file (" +
                        std::to_string(left - 8) +
                        " bytes remain); the file is cut short or its records are not contiguous");
    position_ = start + 8 + bytes;
    if (ReadIntoPoints(start, static_cast<std::size_t>(bytes))) return;
    const unsigned char* content = Bytes(start + 8, static_cast<std::size_t>(bytes));
    DecodeRecordBody(start, content, static_cast<std::size_t>(bytes));
}

bool TFileSHP::ReadIntoPoints(std::int64_t start, std::size_t bytes) {
    if constexpr (std::endian::native != std::endian::little || sizeof(TCXY) != 16) return false;
    const std::int64_t from = start + 8;
    if (bytes < kLargeRecordBytes || Held(from, bytes) != nullptr) return false;
    const Layout layout = LayoutOf(LoadI32LE(Bytes(from, 4)));
    if (layout != Layout::MultiPoint && layout != Layout::MultiPart) return false;
    // The points are moved to the front of the list where they lie, so that the record
    // is in memory once, not twice.
    auto& items = Points.Items();
    items.resize(bytes / sizeof(TCXY) + 1);
    auto* raw = reinterpret_cast<unsigned char*>(items.data());
    ReadExactly(raw, from, bytes);
    DecodeRecordBody(start, raw, bytes);
    return true;
}

void TFileSHP::DecodeRecordBody(std::int64_t start, const unsigned char* content, std::size_t size) {
    RecordCursor c(content, size);
    RecordShapeType = c.Int();
    const std::int32_t type = RecordShapeType;
    auto need = [&](std::size_t n, const char* what) {
        if (!c.Has(n))
            Fail(start, std::string(what) + " do not fit its " + std::to_string(size) +
                            " bytes (type " + std::to_string(type) + ")");
    };

    const Layout layout = LayoutOf(type);
    if (layout == Layout::Empty) return;
    if (layout == Layout::Point) {
        need(16, "the point's coordinates");
        Points.Clear();
        const double x = c.Double();  // two statements: argument evaluation order is not fixed
        const double y = c.Double();
        Points.Add(x, y);
        if (ShapeTypeHasZ(type)) {
            ZValues.Clear();
            if (c.Has(8)) ZValues.Add(c.Double());
        }
        if (ShapeTypeHasM(type)) {
            MValues.Clear();
            if (c.Has(8)) MValues.Add(c.Double());
        }
        return;
    }

    const bool multiPart = layout == Layout::MultiPart;
    const bool multiPatch = ShapeTypeOf(type) == ShapeType::MultiPatch;
    if (layout == Layout::Unknown) {
        // Not a shape type of the format: its box, when it has one, and nothing more.
        if (c.Has(32))
            for (double& v : RecordBox) v = c.Double();
        return;
    }

    need(32, "the bounding box");
    for (double& v : RecordBox) v = c.Double();

    std::int32_t parts = 0;
    if (multiPart) {
        need(8, "the part and point counts");
        parts = c.Int();
        NumPoints = c.Int();
        NumParts = parts;
    } else {
        need(4, "the point count");
        NumPoints = c.Int();
    }
    if (parts < 0 || NumPoints < 0)
        Fail(start, "negative counts (" + std::to_string(parts) + " parts, " +
                        std::to_string(NumPoints) + " points)");

    // MultiPatch records carry a part type after each part start.
    const std::size_t partBytes = static_cast<std::size_t>(parts) * (multiPatch ? 8 : 4);
    const std::size_t pointBytes = static_cast<std::size_t>(NumPoints) * 16;
    if (!c.Has(partBytes) || !c.Has(partBytes + pointBytes))
        Fail(start, std::to_string(parts) + " parts and " + std::to_string(NumPoints) +
                        " points do not fit its " + std::to_string(size) + " bytes");

    if (multiPart) {
        Parts.Clear();
        Parts.Reserve(static_cast<std::size_t>(parts));
        for (std::int32_t k = 0; k < parts; ++k) {
            const std::int32_t first = c.Int();
            if (first < 0 || first > NumPoints)
                Fail(start, "part " + std::to_string(k + 1) + " starts at point " +
                                std::to_string(first) + ", outside its " +
                                std::to_string(NumPoints) + " points");
            // Starts that go back would make parts overlap, each one again the whole point list.
            if (k > 0 && first < Parts.Items().back().Value)
                Fail(start, "part " + std::to_string(k + 1) + " starts at point " + std::to_string(first) +
                                ", before the start " + std::to_string(Parts.Items().back().Value) + " of part " +
                                std::to_string(k));
            Parts.Add(first);
        }
        if (multiPatch) c.Skip(static_cast<std::size_t>(parts) * 4);
    }
    ReadPoints(c, NumPoints, Points);
    if (ShapeTypeHasZ(type)) ReadMeasureBlock(c, NumPoints, ZValues);
    if (ShapeTypeHasM(type)) ReadMeasureBlock(c, NumPoints, MValues);
}

bool TFileSHP::GetPart(std::int32_t i, TListaXY& target) const {
    const PartRange r = PartOf(*this, i);
    const auto& all = Points.Items();
    target.Items().assign(all.begin() + r.begin, all.begin() + r.end);
    return target.Count() >= 2;
}

}  // namespace tessaly
