#pragma once
// Text as both charts write it: their label font and text placed by its top-left corner.

#include <QFont>
#include <QPainter>
#include <QString>

namespace tessaly {

inline QFont ChartFont(int points) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(points);
    return font;
}

inline void DrawTextAt(QPainter& painter, int left, int top, const QString& text) {
    painter.drawText(left, top + painter.fontMetrics().ascent(), text);
}

}  // namespace tessaly
