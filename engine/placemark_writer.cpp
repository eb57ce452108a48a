#include "engine/placemark_writer.h"

#include "engine/balloon.h"
#include "engine/kml_text.h"
#include "engine/label_point.h"
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
    // A shape's own Z values are its heights when 3D asks for them, and without 3D
    // whenever the altitude mode reads heights at all.
    elevation_ = kml_.Extrude == '1' ? kml_.HeightSource == 1
                                     : kml_.AltitudeMode != kClampToGround && ShapeTypeHasZ(reader_.RecordShapeType);
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
    switch (ShapeClass(reader_.RecordShapeType)) {
        case kPointClass:
            WritePlacemarkStart(reader_.Points.Count() > 1, row);
            WritePoints();
            WritePlacemarkEnd(reader_.Points.Count() > 1);
            break;
        case kLineClass:
            WritePlacemarkStart(reader_.Parts.Count() > 1, row);
            WriteLines();
            WritePlacemarkEnd(reader_.Parts.Count() > 1);
            break;
        case kPolygonClass: {
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
    // The row's label as the table decodes it, or the feature's number.
    AppendXmlEscaped(*text_, state_.FeatureName);
    *text_ += "</name><Snippet></Snippet>";
    balloon_.Append(*text_, row.balloonValues);
    *text_ += row.time;
    *text_ += kml_.StyleUrlElement;
    *text_ += row.extendedData;
    if (multi) *text_ += "<MultiGeometry>";
}

void PlacemarkWriter::WritePlacemarkEnd(bool multi) {
    if (multi) *text_ += "</MultiGeometry>";
    *text_ += "</Placemark>";
}

void PlacemarkWriter::WriteGeometryHead(const char* element, bool tessellate) {
    *text_ += '<';
    *text_ += element;
    *text_ += "><extrude>";
    *text_ += kml_.Extrude;
    *text_ += "</extrude>";
    if (tessellate) {
        *text_ += "<tessellate>";
        *text_ += kml_.Tessellate;
        *text_ += "</tessellate>";
    }
    *text_ += "<altitudeMode>";
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
    constexpr std::size_t kChunk = 1 << 18;
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
    RecordRings(reader_, rings_);
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
    // One centroid, for the outer ring with the longest outline.
    const std::size_t best = LongestOutline(reader_.Points.Items(), rings_, polygons_);
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
    // The centroid is the polygon's label point; a ring without points has none.
    if (!centroid || outer.end <= outer.begin) return;
    const TCXY label = LabelPointOf(reader_.Points.Items(), rings_, polygon);
    const double cx = label.X, cy = label.Y;
    // A record being streamed can no longer be left out: a centroid that does not
    // convert (its vertices all did) is then left out alone.
    if (streaming_) {
        const LonLat c = datum_.ConvertToWGS84(cx, cy);
        if (!std::isfinite(c.longitude) || !std::isfinite(c.latitude)) return;
    }
    WriteGeometryHead("Point", false);
    *text_ += "<coordinates>";
    if (elevation_) {
        // Its height is the middle of the outer ring's heights.
        double zmin = std::numeric_limits<double>::infinity(), zmax = -zmin;
        const auto& z = reader_.ZValues.Items();
        const bool hasZ = ShapeTypeHasZ(reader_.RecordShapeType) && z.size() == reader_.Points.Items().size();
        for (std::int32_t k = outer.begin; hasZ && k < outer.end; ++k) {
            zmin = std::min(zmin, z[static_cast<std::size_t>(k)].Value);
            zmax = std::max(zmax, z[static_cast<std::size_t>(k)].Value);
        }
        AppendHeight(hasZ ? (zmin + zmax) / 2 : 0);
        AppendTuple(cx, cy, heightScratch_);
    } else {
        AppendTuple(cx, cy, kml_.HeightText);
    }
    *text_ += "</coordinates></Point>";
}

}  // namespace tessaly
