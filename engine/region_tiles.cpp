#include "engine/region_tiles.h"

#include "engine/kml_text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <utility>
#include <cstring>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr int kSampleGrid = 32;       // points: one per cell of this grid first
constexpr int kMinLodPixels = 128;    // a tile shows once its region is this big on screen
constexpr int kMaxDepth = 40;         // below this, records at one place stay together
constexpr std::size_t kWindow = 1 << 20;      // bytes read back from the temporary file at once
constexpr std::size_t kTileBuffer = 1 << 13;  // bytes gathered for a tile before they are written

[[noreturn]] void SpoolFailure(const char* what) { throw OutputError(std::string(what) + ": " + std::strerror(errno)); }

// Exact: the shortest text that reads back as the same number, so that a box
// holds what it was computed to hold. Fixed notation of any double fits.
std::string Number(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

std::string RegionElement(const RegionBox& b) {
    return "<Region><LatLonAltBox><north>" + Number(b.north) + "</north><south>" + Number(b.south) +
           "</south><east>" + Number(b.east) + "</east><west>" + Number(b.west) +
           "</west></LatLonAltBox><Lod><minLodPixels>" + std::to_string(kMinLodPixels) +
           "</minLodPixels><maxLodPixels>-1</maxLodPixels></Lod></Region>";
}

RegionBox Quadrant(const RegionBox& cell, int q) {
    const double midX = (cell.west + cell.east) / 2, midY = (cell.south + cell.north) / 2;
    RegionBox b = cell;
    (q & 1 ? b.west : b.east) = midX;
    (q & 2 ? b.south : b.north) = midY;
    return b;
}

// The quadrant of the cell that holds the centre of box: bit 0 east, bit 1 north.
int QuadrantOf(const RegionBox& cell, const RegionBox& box) {
    const double x = (box.west + box.east) / 2, y = (box.south + box.north) / 2;
    return (x >= (cell.west + cell.east) / 2 ? 1 : 0) | (y >= (cell.south + cell.north) / 2 ? 2 : 0);
}

}  // namespace

void RegionBox::Cover(const RegionBox& o) {
    west = std::min(west, o.west), south = std::min(south, o.south);
    east = std::max(east, o.east), north = std::max(north, o.north);
}

bool PlacemarkBox(std::string_view text, RegionBox& box) {
    static constexpr std::string_view kOpen = "<coordinates>", kClose = "</coordinates>";
    bool any = false;
    for (std::size_t at = text.find(kOpen); at != std::string_view::npos; at = text.find(kOpen, at)) {
        at += kOpen.size();
        const std::size_t close = text.find(kClose, at);
        if (close == std::string_view::npos) break;
        const char* p = text.data() + at;
        const char* end = text.data() + close;
        while (p < end) {
            while (p < end && (*p == ' ' || *p == '\n' || *p == '\t' || *p == '\r')) ++p;
            double x = 0, y = 0;
            auto r = std::from_chars(p, end, x);
            if (r.ec != std::errc() || r.ptr == end || *r.ptr != ',') break;
            r = std::from_chars(r.ptr + 1, end, y);
            if (r.ec != std::errc()) break;
            if (!any) box = {x, y, x, y};
            box.Cover({x, y, x, y});
            any = true;
            p = r.ptr;
            while (p < end && *p != ' ' && *p != '\n' && *p != '\t' && *p != '\r') ++p;  // an altitude
        }
        at = close;
    }
    return any;
}

RegionTiles::RegionTiles(int tileSize, bool points)
    : tileSize_(tileSize), points_(points), spool_(std::tmpfile()), spoolBuffer_(kWindow) {
    if (spool_ == nullptr)
        SpoolFailure("cannot make a temporary file for the tiles");
    std::setvbuf(spool_, spoolBuffer_.data(), _IOFBF, spoolBuffer_.size());
}

RegionTiles::~RegionTiles() { std::fclose(spool_); }

void RegionTiles::OpenFolder(std::string name) {
    folders_.push_back(std::move(name));
    folder_ = static_cast<std::int32_t>(folders_.size() - 1);
}

void RegionTiles::Add(std::string_view placemark) {
    Record r{spooled_, static_cast<std::uint32_t>(placemark.size()), folder_, {}};
    if (!PlacemarkBox(placemark, r.box)) return;  // nothing to place: never written by the placemark writer
    if (std::fwrite(placemark.data(), 1, placemark.size(), spool_) != placemark.size())
        SpoolFailure("cannot write the tiles' temporary file");
    spooled_ += placemark.size();
    records_.push_back(r);
}

std::size_t RegionTiles::Keep(std::size_t begin, std::size_t end, const RegionBox& cell) {
    const std::size_t limit = static_cast<std::size_t>(tileSize_);
    if (end - begin <= limit) return end - begin;
    std::vector<char> kept(end - begin, 0);
    std::size_t count = 0;
    if (points_) {
        std::vector<char> taken(kSampleGrid * kSampleGrid, 0);
        const double w = cell.east - cell.west, h = cell.north - cell.south;
        auto slot = [](double at, double size) {
            const int s = size > 0 ? static_cast<int>(at / size * kSampleGrid) : 0;
            return std::clamp(s, 0, kSampleGrid - 1);
        };
        for (std::size_t i = begin; i < end && count < limit; ++i) {
            const RegionBox& b = records_[order_[i]].box;
            const int s = slot(b.west - cell.west, w) * kSampleGrid + slot(b.south - cell.south, h);
            if (taken[static_cast<std::size_t>(s)]) continue;
            taken[static_cast<std::size_t>(s)] = 1;
            kept[i - begin] = 1;
            ++count;
        }
        for (std::size_t i = begin; i < end && count < limit; ++i)
            if (!kept[i - begin]) kept[i - begin] = 1, ++count;
    } else {
        // The largest boxes by their half perimeter, so that long thin lines count too.
        std::vector<std::uint32_t> bySize(end - begin);
        for (std::size_t i = begin; i < end; ++i) bySize[i - begin] = static_cast<std::uint32_t>(i - begin);
        auto extent = [&](std::uint32_t k) {
            const RegionBox& b = records_[order_[begin + k]].box;
            return (b.east - b.west) + (b.north - b.south);
        };
        std::nth_element(bySize.begin(), bySize.begin() + static_cast<std::ptrdiff_t>(limit), bySize.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return extent(a) > extent(b); });
        for (std::size_t k = 0; k < limit; ++k) kept[bySize[k]] = 1;
        count = limit;
    }
    // Kept records first, both parts still in record order.
    std::vector<std::uint32_t> front, back;
    for (std::size_t i = begin; i < end; ++i) (kept[i - begin] ? front : back).push_back(order_[i]);
    std::copy(front.begin(), front.end(), order_.begin() + static_cast<std::ptrdiff_t>(begin));
    std::copy(back.begin(), back.end(), order_.begin() + static_cast<std::ptrdiff_t>(begin + front.size()));
    return count;
}

std::size_t RegionTiles::Build(std::size_t begin, std::size_t end, const RegionBox& cell, const std::string& name,
                               int depth) {
    const std::size_t number = tiles_.size();
    tiles_.push_back({name, cell, begin, begin, {}});
    const std::size_t kept = depth < kMaxDepth ? Keep(begin, end, cell) : end - begin;
    tiles_[number].kept = begin + kept;
    RegionBox box = cell;
    for (std::size_t i = begin; i < begin + kept; ++i) box.Cover(records_[order_[i]].box);
    // The rest by quadrant, in record order within each: counted, then placed.
    const std::size_t from = begin + kept;
    std::vector<std::uint8_t> quadrant(end - from);
    std::array<std::size_t, 5> start{};
    for (std::size_t i = from; i < end; ++i) {
        quadrant[i - from] = static_cast<std::uint8_t>(QuadrantOf(cell, records_[order_[i]].box));
        ++start[quadrant[i - from] + 1u];
    }
    for (int q = 0; q < 4; ++q) start[q + 1] += start[q];
    std::vector<std::uint32_t> rest(end - from);
    std::array<std::size_t, 4> next{start[0], start[1], start[2], start[3]};
    for (std::size_t i = from; i < end; ++i) rest[next[quadrant[i - from]]++] = order_[i];
    std::copy(rest.begin(), rest.end(), order_.begin() + static_cast<std::ptrdiff_t>(from));
    std::vector<std::size_t> children;
    for (int q = 0; q < 4; ++q) {
        if (start[q] == start[q + 1]) continue;
        const std::size_t child = Build(from + start[q], from + start[q + 1], Quadrant(cell, q),
                                        name + std::to_string(q), depth + 1);
        box.Cover(tiles_[child].box);
        children.push_back(child);
    }
    tiles_[number].box = box;
    tiles_[number].children = std::move(children);
    return number;
}

std::string RegionTiles::LinkTo(const Tile& tile) const {
    return "<NetworkLink><name>" + tile.name + "</name>" + RegionElement(tile.box) + "<Link><href>" + tile.name +
           ".kml</href><viewRefreshMode>onRegion</viewRefreshMode></Link></NetworkLink>";
}

std::string RegionTiles::Place(const std::string& layerName) {
    name_ = layerName;
    order_.resize(records_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<std::uint32_t>(i);
    if (records_.empty()) return {};
    RegionBox extent = records_.front().box;
    for (const Record& r : records_) extent.Cover(r.box);
    Build(0, order_.size(), extent, "tile", 0);
    return LinkTo(tiles_.front());
}

std::string_view RegionTiles::Spooled(const Record& r) {
    if (r.offset < windowAt_ || r.offset + r.size > windowAt_ + window_.size()) {
        window_.resize(std::max<std::size_t>(kWindow, r.size));
        const ssize_t got = pread(fileno(spool_), window_.data(), window_.size(), static_cast<off_t>(r.offset));
        if (got < static_cast<ssize_t>(r.size)) SpoolFailure("cannot read the tiles' temporary file");
        window_.resize(static_cast<std::size_t>(got));
        windowAt_ = r.offset;
    }
    return std::string_view(window_).substr(r.offset - windowAt_, r.size);
}

void RegionTiles::SortSpoolByTile() {
    std::vector<std::uint32_t> tileOf(records_.size());
    for (std::size_t t = 0; t < tiles_.size(); ++t)
        for (std::size_t i = tiles_[t].begin; i < tiles_[t].kept; ++i) tileOf[order_[i]] = static_cast<std::uint32_t>(t);
    // Where each tile's stretch starts, then where its next bytes go.
    std::vector<std::uint64_t> at(tiles_.size() + 1, 0);
    for (std::size_t k = 0; k < records_.size(); ++k) at[tileOf[k] + 1] += records_[k].size;
    for (std::size_t t = 1; t < at.size(); ++t) at[t] += at[t - 1];
    std::FILE* sorted = std::tmpfile();
    if (sorted == nullptr) SpoolFailure("cannot make a temporary file for the tiles");
    std::vector<std::string> gathered(tiles_.size());
    auto put = [&](std::size_t t) {
        std::string& g = gathered[t];
        if (pwrite(fileno(sorted), g.data(), g.size(), static_cast<off_t>(at[t])) != static_cast<ssize_t>(g.size())) {
            std::fclose(sorted);
            SpoolFailure("cannot write the tiles' temporary file");
        }
        at[t] += g.size();
        g.clear();
    };
    // The records lie in the file in their own order: one pass reads it front to back.
    for (std::size_t k = 0; k < records_.size(); ++k) {
        Record& r = records_[k];
        const std::size_t t = tileOf[k];
        gathered[t].append(Spooled(r));
        r.offset = at[t] + gathered[t].size() - r.size;
        if (gathered[t].size() >= kTileBuffer) put(t);
    }
    for (std::size_t t = 0; t < tiles_.size(); ++t)
        if (!gathered[t].empty()) put(t);
    std::fclose(spool_);
    spool_ = sorted;
    spoolBuffer_ = {};
    window_.clear();
    windowAt_ = 0;
}

void RegionTiles::WriteTile(OutputFile& out, const Tile& tile) {
    out.StartArchiveDocument(tile.name + ".kml");
    out.Write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><name>" +
              XmlEscape(name_) + "</name>" + RegionElement(tile.box));
    for (const std::size_t child : tile.children) out.Write(LinkTo(tiles_[child]));
    // Records in record order, which keeps each class folder's together: the
    // placemarks came folder by folder, and placing them keeps their order.
    std::int32_t folder = -1;
    for (std::size_t i = tile.begin; i < tile.kept; ++i) {
        const std::uint32_t k = order_[i];
        const Record& r = records_[k];
        if (r.folder != folder) {
            if (folder >= 0) out.Write("</Folder>");
            folder = r.folder;
            out.Write("<Folder><name>" + XmlEscape(folders_[static_cast<std::size_t>(folder)]) + "</name>");
        }
        out.Write(Spooled(r));
    }
    if (folder >= 0) out.Write("</Folder>");
    out.Write("</Document></kml>\n");
}

void RegionTiles::WriteTiles(OutputFile& out) {
    if (std::fflush(spool_) != 0)
        SpoolFailure("cannot write the tiles' temporary file");
    SortSpoolByTile();
    for (const Tile& tile : tiles_) WriteTile(out, tile);
}

}  // namespace tessaly
