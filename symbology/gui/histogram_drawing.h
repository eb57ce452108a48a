#pragma once
// Draws a histogram into a picture: no window needed.

#include "symbology/histogram_bins.h"

#include <QImage>

#include <optional>

namespace tessaly {

inline constexpr int kHistogramBarColour = 9814990;

// Fills the picture white and draws the axes; with a histogram also its count
// labels, its bars and each non-empty bar's share.
void DrawHistogram(QImage& picture, const std::optional<Histogram>& histogram);

}  // namespace tessaly
