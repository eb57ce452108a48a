#include "symbology/gui/histogram_drawing.h"

#include "app/symbol_drawing.h"
#include "symbology/gui/chart_painting.h"

#include <QPainter>

namespace tessaly {

void DrawHistogram(QImage& picture, const std::optional<Histogram>& histogram) {
    if (picture.format() != QImage::Format_RGB32) picture = QImage(picture.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const int left = kHistogramLeftMargin, top = kHistogramTopMargin;
    const int bottom = top + HistogramPlotHeight(picture.height());
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(left, top, left, bottom);
    painter.drawLine(left, bottom, left + HistogramPlotWidth(picture.width()), bottom);
    if (!histogram) return;

    const HistogramScale scale(*histogram, picture.width(), picture.height());
    painter.setFont(ChartFont(9));
    for (const HistogramYLabel& label : HistogramYLabels(scale, histogram->largest)) {
        const QString text = QString::fromStdString(label.text);
        DrawTextAt(painter, left - 5 - painter.fontMetrics().horizontalAdvance(text), label.top, text);
    }

    painter.setFont(ChartFont(7));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(WindowsColour(kHistogramBarColour));
    const int binCount = static_cast<int>(histogram->counts.size());
    const int base = scale.Y(0);
    int barLeft = scale.X(histogram->minimum);
    for (int k = 1; k <= binCount; ++k) {
        const int barRight = scale.X(histogram->minimum + k * histogram->binWidth);
        const long long count = histogram->counts[static_cast<std::size_t>(k - 1)];
        const int barTop = scale.Y(static_cast<double>(count));
        // The bar covers columns barLeft+1 .. barRight-2 and rows barTop .. base-1, outline included.
        if (barTop < base) painter.drawRect(barLeft + 1, barTop, barRight - barLeft - 3, base - barTop - 1);
        if (count > 0) {
            const QString share = QString::fromStdString(ShareText(count, histogram->total, binCount));
            const int centre = (barLeft + barRight) / 2;
            DrawTextAt(painter, centre - painter.fontMetrics().horizontalAdvance(share) / 2, barTop - 13, share);
        }
        barLeft = barRight;
    }
}

}  // namespace tessaly
