#include "widgets/az_button.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace tessaly {

namespace {

constexpr QRgb kFace = 0xF6F6F2;
constexpr QRgb kFaceDisabled = 0xF5F4EA;
constexpr QRgb kPressedFace = 0xE5E4DE;
constexpr QRgb kBorder = 0x003C74;
constexpr QRgb kBorderDisabled = 0xC9C7BA;
constexpr QRgb kShadingOuter = 0xD6D0C5;
constexpr QRgb kShadingInner = 0xE2DFD6;
constexpr QRgb kHighlightOuter = 0xEBE8E2;
constexpr QRgb kHighlightInner = 0xF0EFE9;
constexpr QRgb kCornerDisabled = 0xD8D5C7;
constexpr QRgb kCornerDisabledSoft = 0xEAE9DE;

// Mnemonics show as on any other push button.
constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

QColor Rgb(QRgb rgb) { return QColor::fromRgb(rgb); }

void Pixel(QPainter& p, int x, int y, QRgb rgb) { p.fillRect(QRect(x, y, 1, 1), Rgb(rgb)); }

// A horizontal or vertical line from (x0, y0) up to, but not including, (x1, y1).
// Filled as a rectangle so that no pen geometry can add or drop an end pixel.
void Line(QPainter& p, int x0, int y0, int x1, int y1, QRgb rgb) {
    if (x0 == x1 && y0 == y1) return;
    if (y0 == y1) {
        const int step = x1 > x0 ? 1 : -1;
        const int last = x1 - step;
        p.fillRect(QRect(QPoint(std::min(x0, last), y0), QPoint(std::max(x0, last), y0)), Rgb(rgb));
    } else {
        const int step = y1 > y0 ? 1 : -1;
        const int last = y1 - step;
        p.fillRect(QRect(QPoint(x0, std::min(y0, last)), QPoint(x0, std::max(y0, last))), Rgb(rgb));
    }
}

// Corner pixels, relative to the left or right and top or bottom edges.
enum class Edge { Left, Right, Top, Bottom };
struct Corner {
    Edge across;
    int dx;
    Edge down;
    int dy;
    QRgb enabled;
    QRgb disabled;
};
constexpr Corner kCorners[] = {
    {Edge::Left, 0, Edge::Bottom, -2, 0x6687A0, kCornerDisabled},
    {Edge::Left, 1, Edge::Bottom, -1, 0x6687A0, kCornerDisabled},
    {Edge::Left, 1, Edge::Bottom, -2, 0x4A7193, kCornerDisabled},
    {Edge::Left, 1, Edge::Bottom, -3, 0xBFC7CA, kCornerDisabledSoft},
    {Edge::Left, 2, Edge::Bottom, -2, 0xBFC7CA, kCornerDisabledSoft},
    {Edge::Left, 2, Edge::Bottom, -1, 0x255783, kCornerDisabled},
    {Edge::Left, 0, Edge::Top, 2, 0x7B97AB, kCornerDisabled},
    {Edge::Left, 1, Edge::Top, 1, 0x7B97AB, kCornerDisabled},
    {Edge::Left, 1, Edge::Top, 2, 0x557DA2, kCornerDisabled},
    {Edge::Left, 1, Edge::Top, 3, 0xBFCEDC, kCornerDisabledSoft},
    {Edge::Left, 2, Edge::Top, 2, 0xBFCEDC, kCornerDisabledSoft},
    {Edge::Right, -3, Edge::Top, 1, 0x164D7E, kCornerDisabled},
    {Edge::Right, -2, Edge::Top, 1, 0x6889A2, kCornerDisabled},
    {Edge::Right, -1, Edge::Top, 2, 0x6889A2, kCornerDisabled},
    {Edge::Right, -2, Edge::Top, 2, 0x557DA2, kCornerDisabled},
    {Edge::Right, -2, Edge::Top, 3, 0xBFCEDC, kCornerDisabledSoft},
    {Edge::Right, -3, Edge::Top, 2, 0xBFCEDC, kCornerDisabledSoft},
    {Edge::Right, -2, Edge::Bottom, -1, 0x6D8DA6, kCornerDisabled},
    {Edge::Right, -1, Edge::Bottom, -2, 0x6D8DA6, kCornerDisabled},
    {Edge::Right, -2, Edge::Bottom, -2, 0x486E90, kCornerDisabled},
    {Edge::Right, -3, Edge::Bottom, -2, 0xB1B7B6, kCornerDisabledSoft},
    {Edge::Right, -2, Edge::Bottom, -3, 0xB1B7B6, kCornerDisabledSoft},
};

// The classic dotted focus frame: every other pixel of the outline inverted, so it
// shows on the face and on the caption alike.
void DottedFocusFrame(QPainter& p, int l, int t, int r, int b) {
    if (r - l < 1 || b - t < 1) return;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    auto dot = [&](int x, int y) {
        if ((x - l + y - t) % 2 == 0) p.fillRect(QRect(x, y, 1, 1), Qt::black);
    };
    for (int x = l; x < r; ++x) {
        dot(x, t);
        if (b - 1 != t) dot(x, b - 1);
    }
    for (int y = t + 1; y < b - 1; ++y) {
        dot(l, y);
        if (r - 1 != l) dot(r - 1, y);
    }
    p.restore();
}

}  // namespace

void PaintAZButtonFace(QPainter& p, const QRect& rect, AZButtonState state,
                       const QString& caption, const QFont& font, const QColor& foreColor,
                       const QPalette& palette) {
    // R and B are one past the last pixel, as the drawing rules count them.
    const int L = rect.left(), T = rect.top();
    const int R = L + rect.width(), B = T + rect.height();
    const bool off = state.disabled;
    const bool plain = !state.disabled && !state.pressed;

    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBackgroundMode(Qt::TransparentMode);

    p.fillRect(rect, Rgb(off ? kFaceDisabled : kFace));
    if (state.pressed)
        p.fillRect(QRect(QPoint(L + 1, T + 2), QPoint(R - 3, B - 3)), Rgb(kPressedFace));

    const QRgb border = off ? kBorderDisabled : kBorder;
    Line(p, L, B - 3, L, T + 2, border);
    Line(p, L + 2, T + 1, R - 3, T + 1, border);
    Line(p, R - 1, T + 2, R - 1, B - 2, border);
    Line(p, R - 3, B - 1, L + 2, B - 1, border);

    if (plain) {
        Line(p, L + 3, B - 2, R - 3, B - 2, kShadingOuter);
        Line(p, L + 2, B - 3, R - 2, B - 3, kShadingInner);
    }

    for (const Corner& c : kCorners) {
        const int x = (c.across == Edge::Left ? L : R) + c.dx;
        const int y = (c.down == Edge::Top ? T : B) + c.dy;
        Pixel(p, x, y, off ? c.disabled : c.enabled);
    }

    if (plain) {
        Line(p, R - 2, T + 4, R - 2, B - 4, kHighlightOuter);
        Line(p, R - 3, T + 3, R - 3, B - 3, kHighlightInner);
    }

    p.setFont(font);
    if (off) {
        // Embossed: a light copy one pixel down and right under the shadow-coloured text,
        // placed at whole-pixel halves rather than centred by the layout.
        const QSize size = QFontMetrics(font).size(kCaptionFlags, caption);
        const int x = L + (R - L - size.width()) / 2;
        const int y = T + (B - T - size.height()) / 2;
        const QRect box(x, y, size.width(), size.height());
        const int flags = kCaptionFlags | Qt::AlignLeft | Qt::AlignTop;
        p.setPen(palette.color(QPalette::Disabled, QPalette::Light));
        p.drawText(box.translated(1, 1), flags, caption);
        p.setPen(palette.color(QPalette::Disabled, QPalette::Dark));
        p.drawText(box, flags, caption);
    } else {
        p.setPen(foreColor);
        p.drawText(state.pressed ? rect.translated(1, 1) : rect, kCaptionFlags | Qt::AlignCenter,
                   caption);
    }

    if (state.focused) DottedFocusFrame(p, L + 5, T + 5, R - 5, B - 5);
    p.restore();
}

TAZButton::TAZButton(QWidget* parent) : TAZButton(QString(), parent) {}

TAZButton::TAZButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    foreColor_ = palette().color(QPalette::ButtonText);
    backColor_ = palette().color(QPalette::Button);
    hoverColor_ = backColor_;
}

void TAZButton::SetColour(QColor& member, const QColor& colour) {
    if (member == colour) return;
    member = colour;
    update();
}

void TAZButton::SetForeColor(const QColor& colour) { SetColour(foreColor_, colour); }
void TAZButton::SetBackColor(const QColor& colour) { SetColour(backColor_, colour); }
void TAZButton::SetHoverColor(const QColor& colour) { SetColour(hoverColor_, colour); }

AZButtonState TAZButton::PaintState() const {
    return {isDown(), !isEnabled(), hasFocus()};
}

void TAZButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintAZButtonFace(p, rect(), PaintState(), text(), font(), foreColor_, palette());
}

void TAZButton::changeEvent(QEvent* event) {
    // The face depends on these whatever the style would otherwise repaint for.
    switch (event->type()) {
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        update();
        break;
    default:
        break;
    }
    QPushButton::changeEvent(event);
}

}  // namespace tessaly
