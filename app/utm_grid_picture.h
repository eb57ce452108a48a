#pragma once
// The picture of the UTM grid for the site's grid page: 60 zones of 6 degrees
// of longitude and the latitude bands C to X, on a plate carree of the world.

#include <QImage>

namespace tessaly {

// Draws the whole grid into a picture of the given width (height half of it).
QImage DrawUtmGrid(int width);

}  // namespace tessaly
