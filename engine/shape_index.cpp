#include "engine/shape_index.h"

#include "input/byte_order.h"
#include "input/huge_pages.h"
#include "input/positioned_io.h"
#include "input/shapefile_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

namespace tessaly {

namespace {

void Encode(const ShapeIndexEntry& e, unsigned char* p) {
    StoreU32LE(p, static_cast<std::uint32_t>(e.Position));
    StoreU32LE(p + 4, e.Offset);
    StoreF64LE(p + 8, e.Xmin);
    StoreF64LE(p + 16, e.Ymin);
    StoreF64LE(p + 24, e.Xmax);
    StoreF64LE(p + 32, e.Ymax);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string ShapeIndexPathFor(const std::string& path) {
    return std::filesystem::path(path).replace_extension(".idx").string();
}

void TShapeIndex::SetFileName(const std::string& path) { fileName_ = ShapeIndexPathFor(path); }

bool TShapeIndex::Open() {
    Close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName_, ec)) return false;
    fd_ = ::open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    const auto size = std::filesystem::file_size(fileName_, ec);
    const auto entries = ec ? 0 : size / kShapeIndexEntrySize;
    entryCount_ = entries == 0 ? 0
                               : static_cast<std::int32_t>(std::min<std::uintmax_t>(
                                     entries - 1, std::numeric_limits<std::int32_t>::max()));
    return true;
}

void TShapeIndex::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    entryCount_ = 0;
    offsets_.clear();
    offsets_.shrink_to_fit();
}

void TShapeIndex::LoadOffsets() {
    if (fd_ < 0) throw ShapeIndexError(fileName_ + ": the shape index is not open");
    offsets_.reserve(static_cast<std::size_t>(entryCount_) + 1);
    // One pass in large blocks of whole entries.
    constexpr std::size_t kBlockEntries = 1 << 14;
    std::vector<unsigned char> block(kBlockEntries * kShapeIndexEntrySize);
    for (std::int64_t k = 0; k <= entryCount_;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(kBlockEntries, entryCount_ + 1 - k));
        const std::size_t bytes = n * kShapeIndexEntrySize;
        if (ReadAt(fd_, block.data(), bytes, k * static_cast<std::int64_t>(kShapeIndexEntrySize)) !=
            static_cast<std::int64_t>(bytes)) {
            offsets_.clear();
            throw ShapeIndexError(fileName_ + ": cannot read entry " + std::to_string(k));
        }
        for (std::size_t i = 0; i < n; ++i) offsets_.push_back(LoadU32LE(block.data() + i * kShapeIndexEntrySize + 4));
        k += static_cast<std::int64_t>(n);
    }
}

std::uint32_t TShapeIndex::RecordOffset(std::int32_t k) {
    if (k < 0 || k > entryCount_)
        throw ShapeIndexError(fileName_ + ": no entry for record " + std::to_string(k) +
                              " (the shapefile has " + std::to_string(entryCount_) + " records)");
    if (offsets_.empty()) LoadOffsets();
    return offsets_[static_cast<std::size_t>(k)];
}

ShapeIndexEntry TShapeIndex::ReadEntry(std::int32_t k) {
    if (fd_ < 0) throw ShapeIndexError(fileName_ + ": the shape index is not open");
    if (k < 0 || k > entryCount_)
        throw ShapeIndexError(fileName_ + ": no entry for record " + std::to_string(k) +
                              " (the shapefile has " + std::to_string(entryCount_) + " records)");
    // Entries are read where they lie, one call each: the rows visit them in any order.
    unsigned char buf[kShapeIndexEntrySize];
    if (ReadAt(fd_, buf, sizeof buf, static_cast<std::int64_t>(k) * static_cast<std::int64_t>(kShapeIndexEntrySize)) !=
        static_cast<std::int64_t>(sizeof buf))
        throw ShapeIndexError(fileName_ + ": cannot read entry " + std::to_string(k));
    ShapeIndexEntry e;
    e.Position = LoadI32LE(buf);
    e.Offset = LoadU32LE(buf + 4);
    e.Xmin = LoadF64LE(buf + 8);
    e.Ymin = LoadF64LE(buf + 16);
    e.Xmax = LoadF64LE(buf + 24);
    e.Ymax = LoadF64LE(buf + 32);
    return e;
}

std::int64_t BuildShapeIndex(const std::string& shapefilePath, const std::string& indexPath) {
    TFileSHP reader(shapefilePath);
    if (!reader.Open()) throw ShapefileError(reader.Error());
    if (!reader.ReadHeader()) throw ShapefileError(reader.Error());
    if (reader.FileSize() > std::numeric_limits<std::uint32_t>::max())
        throw ShapefileError(shapefilePath + ": larger than the 4 GB a shape index can address");
    const bool points = ShapeClass(reader.ShapeType) == kPointClass;

    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(indexPath.c_str(), "wb"));
    if (!out)
        throw ShapeIndexError(indexPath + ": cannot create the shape index: " + std::strerror(errno));
    std::vector<unsigned char> buffer;
    unsigned char entry[kShapeIndexEntrySize];
    auto append = [&](const ShapeIndexEntry& e) {
        Encode(e, entry);
        buffer.insert(buffer.end(), entry, entry + sizeof entry);
        if (buffer.size() >= (1u << 16)) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out.get()) != buffer.size())
                throw ShapeIndexError(indexPath + ": cannot write the shape index: " +
                                      std::strerror(errno));
            buffer.clear();
        }
    };

    try {
        append({0, 0, reader.Xmin, reader.Ymin, reader.Xmax, reader.Ymax});
        std::int32_t k = 0;
        while (!reader.AtEnd()) {
            ShapeIndexEntry e;
            e.Position = ++k;
            e.Offset = static_cast<std::uint32_t>(reader.Position());
            reader.ReadRecord();
            // A Null record (or an empty multipoint) has no box of its own: it keeps
            // an empty one.
            if (!points && ShapeTypeOf(reader.RecordShapeType) != ShapeType::Null) {
                e.Xmin = reader.RecordBox[0];
                e.Ymin = reader.RecordBox[1];
                e.Xmax = reader.RecordBox[2];
                e.Ymax = reader.RecordBox[3];
            } else if (points && ShapeClass(reader.RecordShapeType) == kPointClass &&
                       reader.Points.Count() > 0) {
                const TCXY& p = reader.Points.Item(1);
                e.Xmin = e.Xmax = p.X;
                e.Ymin = e.Ymax = p.Y;
            }
            append(e);
        }
        if ((!buffer.empty() && std::fwrite(buffer.data(), 1, buffer.size(), out.get()) != buffer.size()) ||
            std::fclose(out.release()) != 0)
            throw ShapeIndexError(indexPath + ": cannot write the shape index: " + std::strerror(errno));
        return reader.TrailingBytes();
    } catch (...) {
        out.reset();
        std::error_code ec;
        std::filesystem::remove(indexPath, ec);
        throw;
    }
}

}  // namespace tessaly
