#pragma once
// Draws a scatter plot into a picture: no window needed.

#include "symbology/scatter_scale.h"

#include <QImage>

#include <vector>

namespace tessaly {

// Fills the picture, fits the plot to the picture's size and draws the axes.
void DrawScatterAxes(QImage& picture, TPlot& plot);

// The axes, the labels of both axes and a square at (x, y) for every record
// whose two values are both there (NaN is empty); the plot's ranges must be set.
void DrawScatterPlot(QImage& picture, TPlot& plot, const std::vector<double>& xs,
                     const std::vector<double>& ys);

}  // namespace tessaly
