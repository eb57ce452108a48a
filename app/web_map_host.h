#pragma once
// What the preview map asks of the web map window; the wizard provides it.

#include <array>

namespace tessaly {

class WebMapHost {
public:
    virtual ~WebMapHost() = default;
    // True once the web map window exists.
    virtual bool WebMapOpen() const = 0;
    // extent: Xmin, Ymin, Xmax, Ymax as the shapefile holds them.
    virtual void ShowExtentOnWebMap(int zoom, int viewType, const std::array<double, 4>& extent) = 0;
    virtual void ShowPointOnWebMap(int zoom, int viewType, double latitude, double longitude) = 0;
};

}  // namespace tessaly
