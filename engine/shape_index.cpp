#include "engine/shape_index.h"

#include "input/byte_order.h"
#include "input/shapefile_reader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

namespace tessaly {

namespace {

// Rows visit the entries in label order, all over the file: a small share of a
// large index stays mapped.
constexpr std::size_t kResidentBudget = std::size_t{8} << 20;

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

void TShapeIndex::SetFileName(const std::string& path) {
    fileName_ = std::filesystem::path(path).replace_extension(".idx").string();
}

bool TShapeIndex::Open() {
    Close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName_, ec)) return false;
    const int fd = ::open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    open_ = fstat(fd, &st) == 0 && map_.Map(fd, static_cast<std::int64_t>(st.st_size), kResidentBudget);
    ::close(fd);
    if (!open_) return false;
    const auto entries = static_cast<std::uint64_t>(st.st_size) / kShapeIndexEntrySize;
    entryCount_ = entries == 0 ? 0
                               : static_cast<std::int32_t>(std::min<std::uint64_t>(
                                     entries - 1, std::numeric_limits<std::int32_t>::max()));
    return true;
}

void TShapeIndex::Close() {
    map_.Close();
    open_ = false;
    entryCount_ = 0;
}

ShapeIndexEntry TShapeIndex::ReadEntry(std::int32_t k) {
    if (!open_) throw ShapeIndexError(fileName_ + ": the shape index is not open");
    if (k < 0 || k > entryCount_)
        throw ShapeIndexError(fileName_ + ": no entry for record " + std::to_string(k) +
                              " (the shapefile has " + std::to_string(entryCount_) + " records)");
    const unsigned char* buf =
        map_.At(static_cast<std::int64_t>(k) * static_cast<std::int64_t>(kShapeIndexEntrySize), kShapeIndexEntrySize);
    ShapeIndexEntry e;
    e.Position = LoadI32LE(buf);
    e.Offset = LoadU32LE(buf + 4);
    e.Xmin = LoadF64LE(buf + 8);
    e.Ymin = LoadF64LE(buf + 16);
    e.Xmax = LoadF64LE(buf + 24);
    e.Ymax = LoadF64LE(buf + 32);
    return e;
}

void BuildShapeIndex(const std::string& shapefilePath, const std::string& indexPath) {
    TFileSHP reader(shapefilePath);
    if (!reader.Open()) throw ShapefileError(reader.Error());
    if (!reader.ReadHeader()) throw ShapefileError(reader.Error());
    if (reader.FileSize() > std::numeric_limits<std::uint32_t>::max())
        throw ShapefileError(shapefilePath + ": larger than the 4 GB a shape index can address");
    const bool points = ShapeClass(reader.ShapeType) == 1;

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
            if (!points && reader.RecordShapeType != 0) {
                e.Xmin = reader.RecordBox[0];
                e.Ymin = reader.RecordBox[1];
                e.Xmax = reader.RecordBox[2];
                e.Ymax = reader.RecordBox[3];
            } else if (points && ShapeClass(reader.RecordShapeType) == 1 &&
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
    } catch (...) {
        out.reset();
        std::error_code ec;
        std::filesystem::remove(indexPath, ec);
        throw;
    }
}

}  // namespace tessaly
