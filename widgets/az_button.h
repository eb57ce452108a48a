#pragma once
// The program's push button: a fixed light face with a dark blue rounded border,
// so every window looks the same whatever the desktop's style.

#include <QColor>
#include <QPushButton>

class QFont;
class QPainter;
class QPalette;
class QRect;

namespace tessaly {

struct AZButtonState {
    bool pressed = false;
    bool disabled = false;
    // It has the keyboard focus, and with it is the button Return presses: the
    // dotted frame inside the face shows which.
    bool focused = false;
};

// Paints the whole face into rect. Kept apart from the widget so that the look can be
// checked pixel by pixel; palette only supplies the colours of the embossed disabled
// caption.
void PaintAZButtonFace(QPainter& painter, const QRect& rect, AZButtonState state,
                       const QString& caption, const QFont& font, const QColor& foreColor,
                       const QPalette& palette);

class TAZButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(QColor HoverColor READ HoverColor WRITE SetHoverColor)

public:
    explicit TAZButton(QWidget* parent = nullptr);
    explicit TAZButton(const QString& text, QWidget* parent = nullptr);

    QColor ForeColor() const { return foreColor_; }
    void SetForeColor(const QColor& colour);
    // Back and hover colours are kept for whoever sets them, but the face is fixed.
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& colour);
    QColor HoverColor() const { return hoverColor_; }
    void SetHoverColor(const QColor& colour);

    AZButtonState PaintState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetColour(QColor& member, const QColor& colour);

    QColor foreColor_;
    QColor backColor_;
    QColor hoverColor_;
};

}  // namespace tessaly
