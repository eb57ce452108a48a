#pragma once
// A colour the user picks by clicking it.

#include "symbology/symbol_list.h"

#include <QFrame>

#include <functional>

namespace tessaly {

class ColourSwatch : public QFrame {
public:
    ColourSwatch(QWidget* parent, Colour colour);

    Colour Value() const { return colour_; }
    void SetValue(Colour colour);
    // Asked for a new colour on every click; an invalid answer keeps the old one.
    std::function<QColor(const QColor& current)> Choose;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    Colour colour_;
};

}  // namespace tessaly
