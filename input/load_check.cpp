#include "input/load_check.h"

#include "input/datum_tool.h"
#include "input/shapefile_reader.h"

namespace tessaly {

std::vector<std::string> LoadWarnings(const std::string& shapePath, bool geographic) {
    std::vector<std::string> warnings;
    TFileSHP reader(shapePath);
    if (!reader.Open() || !reader.ReadHeader()) return {reader.Error()};
    if (geographic) {
        // The header's box: a corner outside the range means records outside it.
        try {
            RequireGeographicRange(reader.Xmin, reader.Ymin);
            RequireGeographicRange(reader.Xmax, reader.Ymax);
        } catch (const NotGeographicError& e) {
            warnings.push_back(shapePath + ": " + e.what());
        }
    }
    try {
        // Bytes too few for a record's header after the last record are stray bytes,
        // not a record that runs past the end.
        while (!reader.AtEnd()) reader.ReadRecord();
    } catch (const ShapefileError& e) {
        warnings.push_back(e.what());
    }
    return warnings;
}

}  // namespace tessaly
