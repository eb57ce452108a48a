#include "symbology/gui/scatter_drawing.h"

#include "app/symbol_drawing.h"
#include "symbology/gui/chart_painting.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

void DrawLabels(QImage& picture, const TPlot& plot) {
    QPainter painter(&picture);
    painter.setPen(WindowsColour(plot.AxisColor));
    painter.setFont(ChartFont(9));
    for (const AxisLabel& label : YLabels(plot)) {
        const QString text = QString::fromStdString(label.text);
        DrawTextAt(painter, plot.LeftMargin - 5 - painter.fontMetrics().horizontalAdvance(text),
               PlotY(plot, label.value) - 10, text);
    }
    painter.setFont(ChartFont(7));
    // Under the x axis, where y(YMin) is; a Y field of one value draws YMin mid-height.
    const int axisY = plot.PlotHeight + plot.TopMargin - 1;
    for (const AxisLabel& label : XLabels(plot)) {
        const int x = PlotX(plot, label.value);
        const QString text = QString::fromStdString(label.text);
        painter.drawLine(x, axisY, x, axisY + 3);
        // Centred under its tick, but kept inside the picture: the last one ends at the window's edge.
        const int width = painter.fontMetrics().horizontalAdvance(text);
        DrawTextAt(painter, std::max(0, std::min(x - width / 2, picture.width() - width - 1)), axisY + 10, text);
    }
}

// Squares are written straight into the pixels: a million of them through a
// painter would take seconds. Each covers x-2..x+1, y-2..y+1: an outline in the
// point colour around a 2 x 2 inside in the background colour.
void DrawPoints(QImage& picture, const TPlot& plot, const std::vector<double>& xs,
                const std::vector<double>& ys) {
    const QRgb outline = WindowsColour(plot.PointColor).rgb();
    const QRgb inside = WindowsColour(plot.BackgroundColor).rgb();
    const int width = picture.width(), height = picture.height();
    const std::size_t n = std::min(xs.size(), ys.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(xs[i]) || std::isnan(ys[i])) continue;
        const int x = PlotX(plot, xs[i]), y = PlotY(plot, ys[i]);
        for (int dy = -2; dy <= 1; ++dy) {
            const int row = y + dy;
            if (row < 0 || row >= height) continue;
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(row));
            for (int dx = -2; dx <= 1; ++dx) {
                const int column = x + dx;
                if (column < 0 || column >= width) continue;
                line[column] = (dx == -2 || dx == 1 || dy == -2 || dy == 1) ? outline : inside;
            }
        }
    }
}

}  // namespace

void DrawScatterAxes(QImage& picture, TPlot& plot) {
    if (picture.format() != QImage::Format_RGB32) picture = QImage(picture.size(), QImage::Format_RGB32);
    FitPlot(plot, picture.width(), picture.height());
    picture.fill(WindowsColour(plot.BackgroundColor));
    QPainter painter(&picture);
    painter.setPen(QPen(WindowsColour(plot.AxisColor), 2));
    const int left = plot.LeftMargin, top = plot.TopMargin, bottom = plot.PlotHeight + plot.TopMargin;
    painter.drawLine(left, top, left, bottom);
    painter.drawLine(left, bottom, left + plot.PlotWidth, bottom);
}

void DrawScatterPlot(QImage& picture, TPlot& plot, const std::vector<double>& xs,
                     const std::vector<double>& ys) {
    DrawScatterAxes(picture, plot);
    // A picture too small for a plot area shows nothing but its axes.
    if (plot.PlotWidth < 1 || plot.PlotHeight < 1) return;
    DrawLabels(picture, plot);
    DrawPoints(picture, plot, xs, ys);
}

}  // namespace tessaly
