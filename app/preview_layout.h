#pragma once
// Where map coordinates fall in the preview picture and back, and the text of
// the coordinate read-out. Plain arithmetic, no window.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace tessaly {

struct PreviewLayout {
    double MapScale = 0;  // map units per pixel, the same for both axes
    int MarginLeft = 5;
    int MarginTop = 5;
    int MarginBottom = 5;
    int DrawWidth = 0;   // picture width less the left margin and a fixed 5 on the right
    int DrawHeight = 0;  // picture height less the top and bottom margins
    // Map coordinates of the drawing's bottom-left corner: the extent's Xmin and Ymin,
    // except for an extent without width or height, which is centred.
    double OriginX = 0;
    double OriginY = 0;

    // Shapes can be drawn: room of at least a pixel each way and a usable scale.
    bool Usable() const;
};

// The layout of a picture of the given size showing extent (Xmin, Ymin, Xmax, Ymax)
// whole, with its aspect ratio kept; the drawing hangs from the bottom-left corner.
PreviewLayout LayoutPreview(int pictureWidth, int pictureHeight, const std::array<double, 4>& extent);

struct PixelPoint {
    int x = 0;
    int y = 0;
};

struct MapPoint {
    double x = 0;
    double y = 0;
};

// Map to picture pixels (MapToPixel, below: the drawing's inner loop) and back.
// The two directions differ by one pixel, as the read-out and the double-click
// have always had it.
MapPoint PixelToMap(const PreviewLayout& layout, int px, int py);

// How the read-out names a position: longitude/latitude, or UTM in a zone.
struct ReadoutSystem {
    bool Geographic = true;
    bool North = true;
    int Zone = 12;
    bool Projected = false;  // the .prj's own projection: x and y in its units
};

// "Lat: 45.500000, Lon: -75.250000", "UTM 12 S  Easting: 500000.00, Northing: 4649776.22"
// or, in a projection of the .prj's, "X: 2296583.33, Y: -12.35".
std::string ReadoutText(const ReadoutSystem& system, const MapPoint& at);

// Shapes far outside the extent (a header box smaller than its records) stay in
// the range the painter takes.
inline int TruncatedPixel(double v) { return static_cast<int>(std::trunc(std::clamp(v, -1e6, 1e6))); }

inline PixelPoint MapToPixel(const PreviewLayout& l, double x, double y) {
    return {TruncatedPixel((x - l.OriginX) / l.MapScale) + l.MarginLeft + 1,
            l.DrawHeight - TruncatedPixel((y - l.OriginY) / l.MapScale) + l.MarginBottom - 1};
}

}  // namespace tessaly
