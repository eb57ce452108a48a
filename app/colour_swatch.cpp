#include "app/colour_swatch.h"

#include "app/symbol_drawing.h"

#include <QMouseEvent>

namespace tessaly {

ColourSwatch::ColourSwatch(QWidget* parent, Colour colour) : QFrame(parent), colour_(colour) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetValue(colour);
}

void ColourSwatch::SetValue(Colour colour) {
    colour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, WindowsColour(colour));
    setPalette(p);
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !Choose) return;
    const QColor c = Choose(WindowsColour(colour_));
    if (c.isValid())
        SetValue(static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 |
                 static_cast<Colour>(c.blue()) << 16);
}

}  // namespace tessaly
