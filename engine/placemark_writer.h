#pragma once
// One placemark per record: name, balloon, style reference and geometry, with
// every coordinate converted to WGS 84.

#include "engine/balloon.h"
#include "engine/conversion_settings.h"
#include "engine/output_file.h"
#include "engine/polygon_rings.h"
#include "input/datum_tool.h"
#include "input/shapefile_reader.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// What the placemark takes from its attribute row.
struct FeatureRow {
    std::string label;                       // the label field's value; unused without one
    std::vector<std::string_view> balloonValues;  // one per balloon field, UTF-8
    double heightFieldValue = 0;             // the height field's value (field heights)
    std::string extendedData;                // every field as data, when asked for
    std::string time;                        // the TimeStamp or TimeSpan element; empty: none
};

enum class FeatureResult {
    Written,
    NotAGeometry,  // Null, MultiPatch and unknown shape types: no placemark
    NotFinite,     // a coordinate did not convert to a finite position: left out
};

class PlacemarkWriter {
public:
    PlacemarkWriter(TKml& kml, TEngineState& state, const TBalloon& balloon, const TDatumTool& datum,
                    const TFileSHP& reader);

    // Appends the placemark of the reader's current record as feature n (1-based);
    // out is left as it was unless the result is Written.
    FeatureResult WriteFeature(int n, const FeatureRow& row, std::string& out);

    // Records of more points than this are checked first and then written to the
    // sink as they are made, so that memory does not follow their size.
    void StreamLargeRecordsTo(OutputFile* sink, std::int32_t points = 20000) {
        sink_ = sink;
        streamAbove_ = points;
    }

private:
    void WritePlacemarkStart(bool multi, const FeatureRow& row);
    void WritePlacemarkEnd(bool multi);
    void WritePoints();
    void WriteLines();
    // Sorts the current polygon record's rings into outer boundaries and holes.
    void OrganizeRecordRings();
    void WritePolygons();
    void WriteLineString(std::int32_t begin, std::int32_t end);
    void WritePolygon(const PolygonRings& polygon, bool centroid);
    void AppendRing(const RingSpan& ring);
    void WriteGeometryHead(const char* element, bool tessellate);
    // "lon,lat,height " of point k of the record.
    void AppendVertex(std::int32_t k);
    void AppendTuple(double x, double y, std::string_view height);
    void AppendHeight(double z);

    TKml& kml_;
    TEngineState& state_;
    const BalloonMarkup balloon_;
    const TDatumTool& datum_;
    const TFileSHP& reader_;
    std::string* text_ = nullptr;  // where the placemark is being built
    std::string heightScratch_;  // per-vertex height text
    bool AllPointsConvert() const;
    void Drain();

    OutputFile* sink_ = nullptr;
    std::int32_t streamAbove_ = 0;
    bool streaming_ = false;
    bool elevation_ = false;     // heights from the record's own Z values
    bool finite_ = true;
    std::vector<RingSpan> rings_;          // the current polygon record's rings
    std::vector<PolygonRings> polygons_;   // and the polygons they form
};

}  // namespace tessaly
