// The shapefile reader over any bytes: the header, every record in file order,
// every part of each, then every record again at its offset as the engine seeks it.
// Refusing a record with ShapefileError is a good answer; anything else escaping,
// a sanitizer report or a hang is a finding.

#include "input/shapefile_reader.h"
#include "tests/fuzz/scratch_files.h"

#include <vector>

namespace {

void ReadParts(const tessaly::TFileSHP& reader) {
    tessaly::TListaXY part;
    for (std::int32_t i = 1; i <= reader.Parts.Count() + 1; ++i) reader.GetPart(i, part);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    TFileSHP reader(fuzz::WriteScratchFile("input.shp", data, size));
    if (!reader.Open() || !reader.ReadHeader()) return 0;
    ShapeTypeName(reader.ShapeType);
    ShapeClass(reader.ShapeType);
    std::vector<std::int64_t> offsets;
    try {
        while (!reader.AtEnd()) {
            offsets.push_back(reader.Position());
            reader.ReadRecord();
            ReadParts(reader);
        }
    } catch (const ShapefileError&) {
        offsets.pop_back();
    }
    for (auto at = offsets.rbegin(); at != offsets.rend(); ++at) {
        reader.SeekTo(*at);
        reader.ReadRecord();  // read once in order, so it must read again
        ReadParts(reader);
    }
    return 0;
}
