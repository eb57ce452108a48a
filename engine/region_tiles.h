#pragma once
// A layer too big for one document, written as a tree of tiles inside the KMZ:
// every tile is a document of its own with a Region (its box and a level of
// detail) and a network link to each of its child tiles, which the viewer loads
// only when their region comes into view.
//
// The placemarks are kept in a temporary file while the document is made (and
// sorted there by tile before the tiles are written), each
// with its box read from its coordinates. Placement: the root tile's cell is the
// layer's extent; a tile keeps at most the tile size of records (lines and
// polygons: the largest by box; points: one from each cell of a 32 x 32 grid over
// the tile, in record order, then more in record order), and the rest go to four
// children by the quadrant of their box's centre. A tile's box covers its cell,
// its records and its children, so a child's box lies inside its parent's.

#include "engine/output_file.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct RegionBox {
    double west = 0, south = 0, east = 0, north = 0;
    void Cover(const RegionBox& other);
};

class RegionTiles {
public:
    // Throws OutputError when the temporary file cannot be made.
    RegionTiles(int tileSize, bool points);
    ~RegionTiles();
    RegionTiles(const RegionTiles&) = delete;
    RegionTiles& operator=(const RegionTiles&) = delete;

    // A placemark, whole, inside the folder opened last (if any); its style and
    // schema references name the main document, where they are.
    void Add(std::string_view placemark);
    // Puts the placemarks that follow into a class folder of that name.
    void OpenFolder(std::string name);
    void CloseFolder() { folder_ = -1; }

    // Places the records into tiles; returns the network link of the root tile,
    // for the main document.
    std::string Place(const std::string& layerName);
    // Writes every tile as a document of the archive out writes.
    void WriteTiles(OutputFile& out);

private:
    struct Record {
        std::uint64_t offset = 0;
        std::uint32_t size = 0;
        std::int32_t folder = -1;
        RegionBox box;
    };
    struct Tile {
        std::string name;
        RegionBox box;
        std::size_t begin = 0, kept = 0;  // positions in order_
        std::vector<std::size_t> children;
    };
    // Builds the tile for order_[begin, end) in cell; returns its number.
    std::size_t Build(std::size_t begin, std::size_t end, const RegionBox& cell, const std::string& name, int depth);
    // How many of order_[begin, end) the tile keeps, moved to the front in record order.
    std::size_t Keep(std::size_t begin, std::size_t end, const RegionBox& cell);
    std::string LinkTo(const Tile& tile) const;
    // Rewrites the temporary file tile by tile, in one pass, so that each tile's
    // records are read back in one stretch rather than from all over the file.
    void SortSpoolByTile();
    // A record's text, read through a window onto the temporary file.
    std::string_view Spooled(const Record& record);
    void WriteTile(OutputFile& out, const Tile& tile);

    int tileSize_;
    bool points_;
    std::FILE* spool_;
    std::vector<char> spoolBuffer_;  // the temporary file's write buffer, while it is written
    std::uint64_t spooled_ = 0;
    std::vector<Record> records_;
    std::vector<std::string> folders_;
    std::int32_t folder_ = -1;
    std::vector<std::uint32_t> order_;
    std::vector<Tile> tiles_;
    std::string name_;
    std::string window_;
    std::uint64_t windowAt_ = 0;
};

// The box of every position in a placemark's coordinates elements; false when it has none.
bool PlacemarkBox(std::string_view placemark, RegionBox& box);

}  // namespace tessaly
