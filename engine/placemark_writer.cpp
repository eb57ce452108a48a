#include "engine/placemark_writer.h"

#include "engine/balloon.h"
#include "engine/kml_text.h"
#include "input/number_text.h"
#include "input/text_decoding.h"
#include "input/shapefile_parts.h"
#include "symbology/symbol_list.h"

#include <cmath>
#include <limits>

namespace tessaly {

namespace {

constexpr int kHeightDecimals = 3;

}  // namespace

PlacemarkWriter::PlacemarkWriter(TKml& kml, TEngineState& state, const TBalloon& balloon,
                                 const TDatumTool& datum, const TFileSHP& reader)
    : kml_(kml), state_(state), balloon_(balloon), datum_(datum), reader_(reader) {}

FeatureResult PlacemarkWriter::WriteFeature(int n, const FeatureRow& row, std::string& out) {
    state_.FeatureName = state_.LabelField.empty() ? std::to_string(n) : row.label;
    elevation_ = kml_.Extrude == '1' && kml_.HeightSource == 1;
    finite_ = true;
    if (kml_.Extrude == '1' && (kml_.HeightSource == 2 || kml_.HeightSource == 3)) {
        if (kml_.HeightSource == 3) kml_.HeightValue = row.heightFieldValue * kml_.HeightFactor;
        // A height that overflows would be written as "inf": no position either.
        if (std::isfinite(kml_.HeightValue))
            kml_.HeightText = TruncateCharacters(FormatNumber(1, kHeightDecimals, kml_.HeightValue), 30);
        else
            finite_ = false;
    }

    // Built in place at the end of out, and cut off again when it cannot be written.
    text_ = &out;
    const std::size_t start = out.size();
    streaming_ = sink_ != nullptr && reader_.Points.Count() > streamAbove_;
    if (streaming_ && (!finite_ || !AllPointsConvert())) return FeatureResult::NotFinite;
    switch (reader_.RecordShapeType) {
        case 1: case 8: case 11: case 18: case 21: case 28:
            WritePlacemarkStart(reader_.Points.Count() > 1, row);
            WritePoints();
            WritePlacemarkEnd(reader_.Points.Count() > 1);
            break;
        case 3: case 13: case 23:
            WritePlacemarkStart(reader_.Parts.Count() > 1, row);
            WriteLines();
            WritePlacemarkEnd(reader_.Parts.Count() > 1);
            break;
        case 5: case 15: case 25: {
            OrganizeRecordRings();
            const bool multi = polygons_.size() > 1 || kml_.Centroid;
            WritePlacemarkStart(multi, row);
            WritePolygons();
            WritePlacemarkEnd(multi);
            break;
        }
        default:
            return FeatureResult::NotAGeometry;
    }
    if (!finite_) {
        out.resize(start);
        return FeatureResult::NotFinite;
    }
    return FeatureResult::Written;
}

void PlacemarkWriter::WritePlacemarkStart(bool multi, const FeatureRow& row) {
    *text_ += "<Placemark><name>";
    *text_ += XmlEscape(state_.FeatureName);
    *text_ += "</name><Snippet></Snippet>";
    AppendBalloonDescription(*text_, balloon_, row.balloonValues);
    *text_ += row.time;
    *text_ += kml_.StyleUrlElement;
    if (multi) *text_ += "<MultiGeometry>";
}

void PlacemarkWriter::WritePlacemarkEnd(bool multi) {
    if (multi) *text_ += "</MultiGeometry>";
    *text_ += "</Placemark>";
}

void PlacemarkWriter::WriteGeometryHead(const char* element, bool tessellate) {
    *text_ += '<';
    *text_ += element;
    *text_ += '>';
    if (tessellate) {
        *text_ += "<tessellate>";
        *text_ += kml_.Tessellate;
        *text_ += "</tessellate>";
    }
    *text_ += "<extrude>";
    *text_ += kml_.Extrude;
    *text_ += "</extrude><altitudeMode>";
    *text_ += kml_.AltitudeMode;
    *text_ += "</altitudeMode>";
}

void PlacemarkWriter::AppendHeight(double z) {
    heightScratch_.clear();
    AppendFixed(heightScratch_, std::isfinite(z) ? z : 0, kHeightDecimals);
}

void PlacemarkWriter::AppendTuple(double x, double y, std::string_view height) {
    const LonLat p = datum_.ConvertToWGS84(x, y);
    if (!std::isfinite(p.longitude) || !std::isfinite(p.latitude)) {
        finite_ = false;
        return;
    }
    AppendFixed(*text_, p.longitude, state_.CoordinateDecimals);
    *text_ += ',';
    AppendFixed(*text_, p.latitude, state_.CoordinateDecimals);
    *text_ += ',';
    *text_ += height;
    *text_ += ' ';
    Drain();
}

bool PlacemarkWriter::AllPointsConvert() const {
    for (const TCXY& p : reader_.Points.Items()) {
        const LonLat ll = datum_.ConvertToWGS84(p.X, p.Y);
        if (!std::isfinite(ll.longitude) || !std::isfinite(ll.latitude)) return false;
    }
    return true;
}

void PlacemarkWriter::Drain() {
    constexpr std::size_t kChunk = 1 << 20;
    if (!streaming_ || text_->size() < kChunk) return;
    sink_->Write(*text_);
    text_->clear();
}

void PlacemarkWriter::AppendVertex(std::int32_t k) {
    const TCXY& p = reader_.Points.Items()[static_cast<std::size_t>(k)];
    if (!elevation_) {
        AppendTuple(p.X, p.Y, kml_.HeightText);
        return;
    }
    // Files without Z values stand on height 0.
    const auto& z = reader_.ZValues.Items();
    const bool hasZ = ShapeTypeHasZ(reader_.RecordShapeType) && z.size() == reader_.Points.Items().size();
    AppendHeight(hasZ ? z[static_cast<std::size_t>(k)].Value : 0);
    AppendTuple(p.X, p.Y, heightScratch_);
}

void PlacemarkWriter::WritePoints() {
    for (std::int32_t k = 0; k < reader_.Points.Count(); ++k) {
        WriteGeometryHead("Point", false);
        *text_ += "<coordinates>";
        AppendVertex(k);
        *text_ += "</coordinates></Point>";
    }
}

void PlacemarkWriter::WriteLines() {
    for (std::int32_t i = 1; i <= reader_.Parts.Count(); ++i) {
        const PartRange r = PartOf(reader_, i);
        WriteLineString(r.begin, r.end);
    }
}

void PlacemarkWriter::WriteLineString(std::int32_t begin, std::int32_t end) {
    WriteGeometryHead("LineString", true);
    *text_ += "<coordinates>";
    for (std::int32_t k = begin; k < end; ++k) AppendVertex(k);
    *text_ += "</coordinates></LineString>";
}

void PlacemarkWriter::OrganizeRecordRings() {
    rings_.clear();
    for (std::int32_t i = 1; i <= reader_.Parts.Count(); ++i) {
        const PartRange r = PartOf(reader_, i);
        rings_.push_back({r.begin, r.end});
    }
    if (!OrganizeRings(reader_.Points.Items(), rings_, polygons_))
        throw ShapefileError(reader_.FileName + ": record " + std::to_string(reader_.RecordNumber) + ": its " +
                             std::to_string(rings_.size()) +
                             " rings are too many to sort into outer rings and holes in reasonable time");
}

void PlacemarkWriter::WritePolygons() {
    if (!kml_.Centroid || kml_.MultiCentroid || polygons_.size() == 1) {
        for (const PolygonRings& p : polygons_) WritePolygon(p, kml_.Centroid);
        return;
    }
    // One centroid, for the outer ring with the longest outline; of equal lengths the first.
    std::size_t best = 0;
    double bestLength = -1;
    TListaXY ring;
    for (std::size_t i = 0; i < polygons_.size(); ++i) {
        reader_.GetPart(static_cast<std::int32_t>(polygons_[i].outer) + 1, ring);
        const double length = ring.Length();
        if (length > bestLength) {
            best = i;
            bestLength = length;
        }
    }
    for (std::size_t i = 0; i < polygons_.size(); ++i) WritePolygon(polygons_[i], i == best);
}

void PlacemarkWriter::AppendRing(const RingSpan& ring) {
    for (std::int32_t j = ring.begin; j < ring.end; ++j)
        AppendVertex(kml_.ReverseRings ? ring.end - 1 - (j - ring.begin) : j);
}

void PlacemarkWriter::WritePolygon(const PolygonRings& polygon, bool centroid) {
    const RingSpan outer = rings_[polygon.outer];
    WriteGeometryHead("Polygon", true);
    *text_ += "<outerBoundaryIs><LinearRing><coordinates>";
    AppendRing(outer);
    *text_ += "</coordinates></LinearRing></outerBoundaryIs>";
    for (const std::size_t h : polygon.holes) {
        *text_ += "<innerBoundaryIs><LinearRing><coordinates>";
        AppendRing(rings_[h]);
        *text_ += "</coordinates></LinearRing></innerBoundaryIs>";
    }
    *text_ += "</Polygon>";
    // The centroid is the centre of the outer ring's box; a ring without points has none.
    if (!centroid || outer.end <= outer.begin) return;
    double xmin = std::numeric_limits<double>::infinity(), xmax = -xmin, ymin = xmin, ymax = -xmin;
    double zmin = xmin, zmax = -xmin;
    const auto& pts = reader_.Points.Items();
    const auto& z = reader_.ZValues.Items();
    const bool hasZ = ShapeTypeHasZ(reader_.RecordShapeType) && z.size() == pts.size();
    for (std::int32_t k = outer.begin; k < outer.end; ++k) {
        const TCXY& p = pts[static_cast<std::size_t>(k)];
        xmin = std::min(xmin, p.X);
        xmax = std::max(xmax, p.X);
        ymin = std::min(ymin, p.Y);
        ymax = std::max(ymax, p.Y);
        if (hasZ) {
            zmin = std::min(zmin, z[static_cast<std::size_t>(k)].Value);
            zmax = std::max(zmax, z[static_cast<std::size_t>(k)].Value);
        }
    }
    // A record being streamed can no longer be left out: a centroid that does not
    // convert (its vertices all did) is then left out alone.
    const double cx = (xmin + xmax) / 2, cy = (ymin + ymax) / 2;
    if (streaming_) {
        const LonLat c = datum_.ConvertToWGS84(cx, cy);
        if (!std::isfinite(c.longitude) || !std::isfinite(c.latitude)) return;
    }
    WriteGeometryHead("Point", false);
    *text_ += "<coordinates>";
    if (elevation_) {
        AppendHeight(hasZ ? (zmin + zmax) / 2 : 0);
        AppendTuple(cx, cy, heightScratch_);
    } else {
        AppendTuple(cx, cy, kml_.HeightText);
    }
    *text_ += "</coordinates></Point>";
}

}  // namespace tessaly
