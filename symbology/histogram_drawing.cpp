#include "symbology/histogram_drawing.h"

#include "app/symbol_drawing.h"

#include <QFontMetrics>
#include <QPainter>

namespace tessaly {

namespace {

QFont LabelFont(int points) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(points);
    return font;
}

// Text whose top-left corner is at (left, top).
void TextAt(QPainter& painter, int left, int top, const QString& text) {
    painter.drawText(left, top + painter.fontMetrics().ascent(), text);
}

}  // namespace

void DrawHistogram(QImage& picture, const std::optional<Histogram>& histogram) {
    if (picture.format() != QImage::Format_RGB32) picture = QImage(picture.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const int plotHeight = picture.height() - 30;
    const int plotWidth = picture.width() - 60;
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(50, 20, 50, plotHeight + 20);
    painter.drawLine(50, plotHeight + 20, 50 + plotWidth, plotHeight + 20);
    if (!histogram) return;

    const HistogramScale scale(*histogram, picture.width(), picture.height());
    painter.setFont(LabelFont(9));
    for (const HistogramYLabel& label : HistogramYLabels(scale, histogram->largest)) {
        const QString text = QString::fromStdString(label.text);
        TextAt(painter, 45 - painter.fontMetrics().horizontalAdvance(text), label.top, text);
    }

    painter.setFont(LabelFont(7));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(WindowsColour(kHistogramBarColour));
    const int binCount = static_cast<int>(histogram->counts.size());
    const int bottom = scale.Y(0);
    int left = scale.X(histogram->minimum);
    for (int k = 1; k <= binCount; ++k) {
        const int right = scale.X(histogram->minimum + k * histogram->binWidth);
        const long long count = histogram->counts[static_cast<std::size_t>(k - 1)];
        const int top = scale.Y(static_cast<double>(count));
        // The bar covers columns left+1 .. right-2 and rows top .. bottom-1, its outline included.
        if (top < bottom) painter.drawRect(left + 1, top, right - left - 3, bottom - top - 1);
        if (count > 0) {
            const QString share = QString::fromStdString(ShareText(count, histogram->total, binCount));
            TextAt(painter, (left + right) / 2 - painter.fontMetrics().horizontalAdvance(share) / 2, top - 13, share);
        }
        left = right;
    }
}

}  // namespace tessaly
