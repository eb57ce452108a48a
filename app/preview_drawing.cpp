#include "app/preview_drawing.h"

#include "engine/label_point.h"
#include "engine/polygon_rings.h"
#include "input/dbf_table.h"
#include "input/shapefile_parts.h"
#include "input/shapefile_reader.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <memory>
#include <unordered_map>
#include <vector>

namespace tessaly {

namespace {

QColor WindowsColour(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

struct Style {
    QPen pen;
    QBrush brush;
    QPen markPen;  // of point marks, and of the label points of polygons
};

Style StyleOf(const TItemSym& s, std::uint8_t shapeClass) {
    auto pen = [](const QColor& colour, int width) {
        QPen p(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        return p;
    };
    // White marks on the white picture would vanish.
    const QPen mark = pen((s.IconColor & 0xFFFFFF) == 0xFFFFFF ? QColor(Qt::black) : WindowsColour(s.IconColor), 1);
    switch (shapeClass) {
        case kPointClass: return {mark, QBrush(Qt::white), mark};
        case kLineClass: return {pen(WindowsColour(s.LineColor), s.LineWidth), Qt::NoBrush, mark};
        case kPolygonClass:
            if (s.LineWidth == 0) return {pen(WindowsColour(s.FillColor), 0), QBrush(WindowsColour(s.FillColor)), mark};
            return {pen(WindowsColour(s.LineColor), s.LineWidth), QBrush(WindowsColour(s.FillColor)), mark};
        default: return {QPen(Qt::NoPen), Qt::NoBrush, mark};
    }
}

// The class of each record, read from the attribute table row of the same position.
class ClassLookup {
public:
    ClassLookup(const PreviewInput& input, TSymbolList& symbols, std::string& problem) : symbols_(symbols) {
        if (symbols.Kind != kUniqueValues && symbols.Kind != kGraduated) return;
        try {
            table_ = std::make_unique<DbfTable>(input.TablePath);
            field_ = table_->RequireField(symbols.FieldName());
            if (symbols.Kind == kGraduated && !symbols.NormField().empty())
                norm_ = table_->RequireField(symbols.NormField());
        } catch (const std::exception& e) {
            problem = e.what();
            table_.reset();
            return;
        }
        if (symbols.Kind == kGraduated) symbols.BuildRanges();
        // FindByValue's answer for every class text at once: the first class wins.
        if (symbols.Kind == kUniqueValues)
            for (std::int32_t k = symbols.Count(); k >= 1; --k) byValue_[symbols.Item(k).ValueText] = k;
    }
    ~ClassLookup() {
        if (table_ && symbols_.Kind == kGraduated) symbols_.ClearRanges();
    }

    // row is 0-based; rows past the table's end and deleted rows have no class.
    std::int32_t ClassOf(int row) const {
        if (!table_ || row >= table_->RecordCount() || table_->IsDeleted(row)) return 0;
        if (symbols_.Kind == kUniqueValues) {
            const auto found = byValue_.find(table_->Text(row, field_));
            return found == byValue_.end() ? 0 : found->second;
        }
        // A row without a value (or normaliser) belongs to no class, as in the document.
        double v = 0;
        return table_->RatioIfPresent(row, field_, norm_, v) ? symbols_.FindRange(v) : 0;
    }

private:
    TSymbolList& symbols_;
    std::unique_ptr<DbfTable> table_;
    int field_ = -1;
    int norm_ = -1;
    std::unordered_map<std::string, std::int32_t> byValue_;
};

class RecordPainter {
public:
    RecordPainter(QPainter& painter, const PreviewLayout& layout) : p_(painter), l_(layout) {}

    // With a label choice, polygons get their label points in the style's mark pen.
    void Draw(const TFileSHP& reader, const Style& style, const PreviewInput& labels) {
        switch (ShapeClass(reader.RecordShapeType)) {
            case kPointClass: Marks(reader); break;
            case kLineClass: Polylines(reader); break;
            case kPolygonClass:
                Polygon(reader);
                if (labels.LabelPoints) LabelPoints(reader, style, labels.EveryLabelPoint);
                break;
            default: break;
        }
    }

private:
    QPoint Pixel(const TCXY& c) const {
        const PixelPoint px = MapToPixel(l_, c.X, c.Y);
        return {px.x, px.y};
    }

    void Marks(const TFileSHP& reader) {
        for (std::int32_t i = 1; i <= reader.Points.Count(); ++i) {
            const QPoint c = Pixel(reader.Points.Item(i));
            p_.drawRect(c.x() - 2, c.y() - 2, 3, 3);  // outline and inside cover 4 x 4 pixels
        }
    }

    void Polylines(const TFileSHP& reader) {
        for (std::int32_t part = 1; part <= reader.Parts.Count(); ++part) {
            const PartRange r = PartOf(reader, part);
            points_.clear();
            for (std::int32_t i = r.begin; i < r.end; ++i) points_.append(Pixel(reader.Points.Item(i + 1)));
            if (points_.size() > 1) p_.drawPolyline(points_);
        }
    }

    // All rings of a record form one shape, so that holes stay empty.
    void Polygon(const TFileSHP& reader) {
        int rings = 0;
        for (std::int32_t part = 1; part <= reader.Parts.Count(); ++part) {
            const PartRange r = PartOf(reader, part);
            const std::int32_t n = std::min(r.end - r.begin, kPolygonPointLimit);
            if (n <= 2) continue;
            if (++rings == 2) {
                path_.clear();
                path_.setFillRule(Qt::OddEvenFill);
                AddRing(points_);
            }
            points_.clear();
            for (std::int32_t i = 0; i < n; ++i) points_.append(Pixel(reader.Points.Item(r.begin + i + 1)));
            if (rings > 1) AddRing(points_);
        }
        // One ring, the common case, goes straight to the painter.
        if (rings == 1) p_.drawPolygon(points_, Qt::OddEvenFill);
        else if (rings > 1) p_.drawPath(path_);
    }

    void LabelPoints(const TFileSHP& reader, const Style& style, bool every) {
        RecordRings(reader, rings_);
        const auto& points = reader.Points.Items();
        if (!OrganizeRings(points, rings_, polygons_) || polygons_.empty()) return;
        p_.save();
        p_.setPen(style.markPen);
        p_.setBrush(Qt::white);
        auto mark = [&](const PolygonRings& polygon) {
            if (rings_[polygon.outer].end <= rings_[polygon.outer].begin) return;
            const QPoint c = Pixel(LabelPointOf(points, rings_, polygon));
            p_.drawRect(c.x() - 2, c.y() - 2, 3, 3);
        };
        if (every) {
            for (const PolygonRings& polygon : polygons_) mark(polygon);
        } else {
            mark(polygons_[LongestOutline(points, rings_, polygons_)]);
        }
        p_.restore();
    }

    void AddRing(const QPolygon& ring) {
        path_.moveTo(ring.front());
        for (qsizetype i = 1; i < ring.size(); ++i) path_.lineTo(ring[i]);
        path_.closeSubpath();
    }

    QPainter& p_;
    const PreviewLayout& l_;
    QPolygon points_;
    QPainterPath path_;  // reused from record to record
    std::vector<RingSpan> rings_;
    std::vector<PolygonRings> polygons_;
};

}  // namespace

PreviewResult DrawPreview(QImage& picture, const PreviewInput& input, TSymbolList& symbols) {
    PreviewResult result;
    result.Layout = LayoutPreview(picture.width(), picture.height(), input.Extent);
    picture.fill(Qt::white);
    if (!input.ExtentValid || !result.Layout.Usable()) return result;
    if (symbols.FieldName().empty()) symbols.Kind = kSingleSymbol;

    TFileSHP reader(input.ShapePath);
    if (!reader.Open() || !reader.ReadHeader()) {
        result.Problem = reader.Error();
        return result;
    }
    ClassLookup lookup(input, symbols, result.Problem);
    std::vector<Style> styles;
    styles.push_back(StyleOf(symbols.DefaultSymbol(), input.ShapeClass));
    if (symbols.Kind == kUniqueValues || symbols.Kind == kGraduated)
        for (std::int32_t k = 1; k <= symbols.Count(); ++k) styles.push_back(StyleOf(symbols.Item(k), input.ShapeClass));

    QPainter painter(&picture);
    RecordPainter records(painter, result.Layout);
    std::size_t current = styles.size();
    try {
        for (int row = 0; !reader.AtEnd(); ++row) {
            reader.ReadRecord();
            const std::size_t c = static_cast<std::size_t>(lookup.ClassOf(row));
            if (c != current) {
                current = c < styles.size() ? c : 0;
                painter.setPen(styles[current].pen);
                painter.setBrush(styles[current].brush);
            }
            records.Draw(reader, styles[current], input);
        }
    } catch (const std::exception& e) {
        result.Problem = e.what();
    }
    return result;
}

}  // namespace tessaly
