#include "app/preview_layout.h"

#include "input/number_text.h"
#include "input/prj_reader.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

constexpr int kMarginRight = 5;

}  // namespace

bool PreviewLayout::Usable() const {
    return DrawWidth > 0 && DrawHeight > 0 && MapScale > 0 && std::isfinite(MapScale) && std::isfinite(OriginX) &&
           std::isfinite(OriginY);
}

PreviewLayout LayoutPreview(int pictureWidth, int pictureHeight, const std::array<double, 4>& extent) {
    PreviewLayout l;
    l.DrawWidth = pictureWidth - l.MarginLeft - kMarginRight;
    l.DrawHeight = pictureHeight - l.MarginTop - l.MarginBottom;
    l.OriginX = extent[0];
    l.OriginY = extent[1];
    if (l.DrawWidth <= 0 || l.DrawHeight <= 0) return l;
    const double width = extent[2] - extent[0], height = extent[3] - extent[1];
    if (!(width >= 0 && height >= 0)) return l;  // also NaN
    l.MapScale = std::max(width / l.DrawWidth, height / l.DrawHeight);
    if (l.MapScale == 0) {
        // One point, or points on one spot: a view a thousandth of the coordinates'
        // size across (at least one map unit), centred on it.
        const double span = std::max({1.0, std::fabs(extent[0]), std::fabs(extent[1])}) / 1000;
        l.MapScale = span / std::min(l.DrawWidth, l.DrawHeight);
        l.OriginX = extent[0] - l.DrawWidth * l.MapScale / 2;
        l.OriginY = extent[1] - l.DrawHeight * l.MapScale / 2;
    }
    if (!std::isfinite(l.MapScale)) l.MapScale = 0;
    return l;
}

MapPoint PixelToMap(const PreviewLayout& l, int px, int py) {
    return {(px - l.MarginLeft) * l.MapScale + l.OriginX, (l.DrawHeight + l.MarginBottom - py) * l.MapScale + l.OriginY};
}

std::string ReadoutText(const ReadoutSystem& system, const MapPoint& at) {
    if (system.Projected) return ProjectedReadoutText(at.x, at.y);
    if (system.Geographic) {
        const std::string lat = at.y < -89.9 || at.y > 90 ? "--" : FormatNumber(1, 6, at.y);
        const std::string lon = at.x < -180 || at.x > 180 ? "--" : FormatNumber(1, 6, at.x);
        return "Lat: " + lat + ", Lon: " + lon;
    }
    return "UTM " + std::to_string(system.Zone) + " " + (system.North ? "N" : "S") +
           "  Easting: " + FormatNumber(1, 2, at.x) + ", Northing: " + FormatNumber(1, 2, at.y);
}

}  // namespace tessaly
