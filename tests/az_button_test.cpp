// The owner-drawn button, checked pixel by pixel on a 75 x 25 "Next >>".

#include "widgets/az_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

constexpr int W = 75, H = 25;
// Edges as the drawing rules count them: R and B one past the last pixel.
constexpr int L = 0, T = 0, R = W, B = H;

constexpr QRgb kFace = 0xF6F6F2;
constexpr QRgb kFaceDisabled = 0xF5F4EA;
constexpr QRgb kPressedFace = 0xE5E4DE;
constexpr QRgb kBorder = 0x003C74;
constexpr QRgb kBorderDisabled = 0xC9C7BA;
constexpr QRgb kCaption = 0x800000;
constexpr QRgb kUntouched = 0xFF00FF;

using Point = std::pair<int, int>;
using Ink = std::set<Point>;

struct CornerPixel {
    int x, y;
    QRgb enabled, disabled;
};

const std::vector<CornerPixel>& Corners() {
    static const std::vector<CornerPixel> corners = {
        {L, B - 2, 0x6687A0, 0xD8D5C7},     {L + 1, B - 1, 0x6687A0, 0xD8D5C7},
        {L + 1, B - 2, 0x4A7193, 0xD8D5C7}, {L + 1, B - 3, 0xBFC7CA, 0xEAE9DE},
        {L + 2, B - 2, 0xBFC7CA, 0xEAE9DE}, {L + 2, B - 1, 0x255783, 0xD8D5C7},
        {L, T + 2, 0x7B97AB, 0xD8D5C7},     {L + 1, T + 1, 0x7B97AB, 0xD8D5C7},
        {L + 1, T + 2, 0x557DA2, 0xD8D5C7}, {L + 1, T + 3, 0xBFCEDC, 0xEAE9DE},
        {L + 2, T + 2, 0xBFCEDC, 0xEAE9DE}, {R - 3, T + 1, 0x164D7E, 0xD8D5C7},
        {R - 2, T + 1, 0x6889A2, 0xD8D5C7}, {R - 1, T + 2, 0x6889A2, 0xD8D5C7},
        {R - 2, T + 2, 0x557DA2, 0xD8D5C7}, {R - 2, T + 3, 0xBFCEDC, 0xEAE9DE},
        {R - 3, T + 2, 0xBFCEDC, 0xEAE9DE}, {R - 2, B - 1, 0x6D8DA6, 0xD8D5C7},
        {R - 1, B - 2, 0x6D8DA6, 0xD8D5C7}, {R - 2, B - 2, 0x486E90, 0xD8D5C7},
        {R - 3, B - 2, 0xB1B7B6, 0xEAE9DE}, {R - 2, B - 3, 0xB1B7B6, 0xEAE9DE},
    };
    return corners;
}

bool IsCorner(int x, int y) {
    for (const CornerPixel& c : Corners())
        if (c.x == x && c.y == y) return true;
    return false;
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// Hex text in failure messages reads far better than decimal colours.
QString Hex(QRgb rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper(); }

#define EXPECT_PIXEL(image, x, y, rgb)                                                   \
    EXPECT_EQ(Hex(At(image, x, y)).toStdString(), Hex(rgb).toStdString())                \
        << "at (" << (x) << ", " << (y) << ")"

// A caption font without smoothing, so that every caption pixel is exactly its colour.
QFont SharpFont() {
    QFont f = QApplication::font();
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

std::unique_ptr<TAZButton> MakeButton() {
    auto b = std::make_unique<TAZButton>(QStringLiteral("Next >>"));
    b->resize(W, H);
    b->setFont(SharpFont());
    b->SetForeColor(QColor::fromRgb(kCaption));
    return b;
}

QImage Blank(int w = W, int h = H) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(kUntouched));
    return image;
}

QImage Render(QWidget& widget) {
    QImage image = Blank(widget.width(), widget.height());
    widget.render(&image);
    return image;
}

QImage PaintFace(AZButtonState state, const QString& caption = QStringLiteral("Next >>")) {
    QImage image = Blank();
    QPainter p(&image);
    PaintAZButtonFace(p, QRect(0, 0, W, H), state, caption, SharpFont(), QColor::fromRgb(kCaption),
                      QApplication::palette());
    return image;
}

Ink PixelsOf(const QImage& image, QRgb rgb, const QRect& area) {
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (At(image, x, y) == rgb) ink.insert({x, y});
    return ink;
}

Ink Shifted(const Ink& ink, int dx, int dy) {
    Ink out;
    for (auto [x, y] : ink) out.insert({x + dx, y + dy});
    return out;
}

// Well inside the border, shading and highlight, where only face and caption meet.
const QRect kInterior(QPoint(3, 3), QPoint(R - 5, B - 5));

void ExpectBorder(const QImage& image, QRgb colour) {
    for (int y = T + 3; y <= B - 3; ++y) EXPECT_PIXEL(image, L, y, colour);
    for (int x = L + 2; x <= R - 4; ++x) EXPECT_PIXEL(image, x, T + 1, colour);
    for (int y = T + 3; y <= B - 3; ++y) EXPECT_PIXEL(image, R - 1, y, colour);
    for (int x = L + 3; x <= R - 3; ++x) EXPECT_PIXEL(image, x, B - 1, colour);
}

void ExpectCorners(const QImage& image, bool disabled) {
    for (const CornerPixel& c : Corners()) EXPECT_PIXEL(image, c.x, c.y, disabled ? c.disabled : c.enabled);
}

TEST(AZButton, NormalFaceIsFilledEdgeToEdgeWithTheBorderOneRowDown) {
    auto b = MakeButton();
    const QImage image = Render(*b);
    for (int x = 0; x < W; ++x) EXPECT_PIXEL(image, x, T, kFace);
    // The outermost corners are not part of the rounded border.
    EXPECT_PIXEL(image, L, T + 1, kFace);
    EXPECT_PIXEL(image, R - 1, T + 1, kFace);
    EXPECT_PIXEL(image, L, B - 1, kFace);
    EXPECT_PIXEL(image, R - 1, B - 1, kFace);
    EXPECT_PIXEL(image, 5, 12, kFace);
    ExpectBorder(image, kBorder);
    EXPECT_TRUE(PixelsOf(image, kUntouched, image.rect()).empty());
}

TEST(AZButton, NormalFaceShadesTheBottomAndHighlightsTheRight) {
    auto b = MakeButton();
    const QImage image = Render(*b);
    for (int x = L + 3; x <= R - 4; ++x) EXPECT_PIXEL(image, x, B - 2, 0xD6D0C5);
    for (int x = L + 2; x <= R - 3; ++x) EXPECT_PIXEL(image, x, B - 3, 0xE2DFD6);
    for (int y = T + 4; y <= B - 5; ++y) EXPECT_PIXEL(image, R - 2, y, 0xEBE8E2);
    for (int y = T + 3; y <= B - 4; ++y) EXPECT_PIXEL(image, R - 3, y, 0xF0EFE9);
    // Both highlight lines stop one pixel short of their end point.
    EXPECT_PIXEL(image, R - 2, B - 4, kFace);
    EXPECT_PIXEL(image, R - 3, B - 3, 0xE2DFD6);
}

TEST(AZButton, EveryCornerPixelHasItsEnabledColour) {
    auto b = MakeButton();
    ExpectCorners(Render(*b), false);
}

TEST(AZButton, EveryCornerPixelHasItsDisabledColour) {
    auto b = MakeButton();
    b->setEnabled(false);
    ExpectCorners(Render(*b), true);
}

TEST(AZButton, CaptionIsCentredInForeColor) {
    auto b = MakeButton();
    const Ink ink = PixelsOf(Render(*b), kCaption, QRect(0, 0, W, H));
    ASSERT_GT(ink.size(), 20u);
    int left = W, right = 0, top = H, bottom = 0;
    for (auto [x, y] : ink) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_LE(std::abs(left - (W - 1 - right)), 3) << left << ".." << right;
    const int lineHeight = QFontMetrics(SharpFont()).height();
    EXPECT_GE(top, (H - lineHeight) / 2);
    EXPECT_LE(bottom, (H + lineHeight) / 2);

    b->SetForeColor(QColor(0, 0x80, 0));
    const QImage green = Render(*b);
    EXPECT_EQ(PixelsOf(green, 0x008000, green.rect()), ink);
    EXPECT_TRUE(PixelsOf(green, kCaption, green.rect()).empty());
}

TEST(AZButton, PressedButtonShowsDarkerInnerFaceWithoutShadingOrHighlight) {
    auto b = MakeButton();
    b->setDown(true);
    const QImage image = Render(*b);
    for (int y = T + 2; y <= B - 3; ++y)
        for (int x = L + 1; x <= R - 3; ++x)
            if (!IsCorner(x, y)) {
                const QRgb c = At(image, x, y);
                EXPECT_TRUE(c == kPressedFace || c == kCaption) << x << ", " << y << " " << Hex(c).toStdString();
            }
    for (int y = T + 4; y <= B - 4; ++y) {
        EXPECT_PIXEL(image, L + 1, y, kPressedFace);
        EXPECT_PIXEL(image, R - 3, y, kPressedFace);
        EXPECT_PIXEL(image, R - 2, y, kFace);
    }
    for (int x = L + 3; x <= R - 4; ++x) {
        EXPECT_PIXEL(image, x, T, kFace);
        EXPECT_PIXEL(image, x, B - 2, kFace);
    }
    ExpectBorder(image, kBorder);
    ExpectCorners(image, false);
}

TEST(AZButton, PressedCaptionMovesOnePixelRightAndDown) {
    auto b = MakeButton();
    const Ink normal = PixelsOf(Render(*b), kCaption, kInterior);
    b->setDown(true);
    const Ink pressed = PixelsOf(Render(*b), kCaption, kInterior.translated(1, 1));
    ASSERT_GT(normal.size(), 20u);
    EXPECT_EQ(pressed, Shifted(normal, 1, 1));
}

TEST(AZButton, DisabledButtonHasPaleFaceGreyBorderAndNoShading) {
    auto b = MakeButton();
    b->setEnabled(false);
    const QImage image = Render(*b);
    for (int x = 0; x < W; ++x) EXPECT_PIXEL(image, x, T, kFaceDisabled);
    ExpectBorder(image, kBorderDisabled);
    for (int x = L + 3; x <= R - 4; ++x) {
        EXPECT_PIXEL(image, x, B - 2, kFaceDisabled);
        EXPECT_PIXEL(image, x, B - 3, kFaceDisabled);
    }
    for (int y = T + 4; y <= B - 5; ++y) {
        EXPECT_PIXEL(image, R - 2, y, kFaceDisabled);
        EXPECT_PIXEL(image, R - 3, y, kFaceDisabled);
    }
    EXPECT_TRUE(PixelsOf(image, kCaption, image.rect()).empty());
}

TEST(AZButton, DisabledCaptionIsEmbossedAtWholePixelHalves) {
    auto b = MakeButton();
    b->setEnabled(false);
    const QImage image = Render(*b);
    const QRgb dark = b->palette().color(QPalette::Disabled, QPalette::Dark).rgb() & 0xFFFFFF;
    const QRgb light = b->palette().color(QPalette::Disabled, QPalette::Light).rgb() & 0xFFFFFF;
    ASSERT_NE(dark, light);

    // The same text set by hand with its top-left corner at the halves, truncated.
    const QString text = b->text();
    const QFontMetrics fm(b->font());
    const int x = (R - L - fm.horizontalAdvance(text)) / 2;
    const int y = (B - T - fm.height()) / 2;
    QImage expected = Blank();
    {
        QPainter p(&expected);
        p.setFont(b->font());
        p.setPen(QColor::fromRgb(dark));
        p.drawText(QPoint(x, y + fm.ascent()), text);
    }
    const Ink shadow = PixelsOf(image, dark, kInterior);
    ASSERT_GT(shadow.size(), 20u);
    EXPECT_EQ(shadow, PixelsOf(expected, dark, kInterior));

    // The light copy shows wherever the shadow does not cover it.
    const Ink highlight = PixelsOf(image, light, kInterior);
    EXPECT_FALSE(highlight.empty());
    const Ink underneath = Shifted(shadow, 1, 1);
    for (const Point& p : underneath)
        if (kInterior.contains(p.first, p.second)) {
            EXPECT_TRUE(shadow.count(p) || highlight.count(p)) << p.first << ", " << p.second;
        }
    for (const Point& p : highlight) EXPECT_TRUE(underneath.count(p)) << p.first << ", " << p.second;
}

TEST(AZButton, FocusFrameIsDottedFivePixelsInside) {
    const QImage plain = PaintFace({});
    const QImage focused = PaintFace({false, false, true});
    const int l = L + 5, t = T + 5, r = R - 6, b = B - 6;
    auto onFrame = [&](int x, int y) {
        return x >= l && x <= r && y >= t && y <= b && (x == l || x == r || y == t || y == b);
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (!onFrame(x, y)) {
                EXPECT_PIXEL(focused, x, y, At(plain, x, y));
            }

    // Walk the outline: dots alternate with gaps, and a dot is the inverse of what it covers.
    std::vector<Point> outline;
    for (int x = l; x < r; ++x) outline.push_back({x, t});
    for (int y = t; y < b; ++y) outline.push_back({r, y});
    for (int x = r; x > l; --x) outline.push_back({x, b});
    for (int y = b; y > t; --y) outline.push_back({l, y});
    int dots = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const auto [x, y] = outline[i];
        const auto [nx, ny] = outline[(i + 1) % outline.size()];
        const bool dot = At(focused, x, y) != At(plain, x, y);
        const bool nextDot = At(focused, nx, ny) != At(plain, nx, ny);
        EXPECT_NE(dot, nextDot) << "at (" << x << ", " << y << ")";
        if (dot) {
            ++dots;
            EXPECT_PIXEL(focused, x, y, ~At(plain, x, y) & 0xFFFFFF);
        }
    }
    EXPECT_EQ(dots, static_cast<int>(outline.size()) / 2);
}

TEST(AZButton, FaceStaysInsideItsRectangleWherePlaced) {
    QImage image = Blank(W + 20, H + 10);
    {
        QPainter p(&image);
        PaintAZButtonFace(p, QRect(10, 5, W, H), {false, false, true}, QStringLiteral("Next >>"),
                          SharpFont(), QColor::fromRgb(kCaption), QApplication::palette());
    }
    const QImage atOrigin = PaintFace({false, false, true});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= 10 && x < 10 + W && y >= 5 && y < 5 + H;
            EXPECT_PIXEL(image, x, y, inside ? At(atOrigin, x - 10, y - 5) : kUntouched);
        }
}

// A shown window, active, so that the button can really hold the keyboard focus.
struct ShownWindow {
    QWidget window;
    TAZButton* button;
    TAZButton* other;

    ShownWindow() {
        auto* layout = new QVBoxLayout(&window);
        button = new TAZButton(QStringLiteral("Next >>"));
        other = new TAZButton(QStringLiteral("<< Back"));
        layout->addWidget(button);
        layout->addWidget(other);
        button->setFont(SharpFont());
        button->setFixedSize(W, H);
        window.show();
        window.activateWindow();
        WaitFor([&] { return window.isActiveWindow(); });
    }

    template <typename Condition>
    static bool WaitFor(Condition done, int ms = 2000) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms) QApplication::processEvents();
        return done();
    }

    void Focus(QWidget* w) {
        w->setFocus(Qt::OtherFocusReason);
        WaitFor([&] { return w->hasFocus(); });
    }
};

TEST(AZButton, FocusFrameShowsOnlyWhenTheDefaultButtonHasFocus) {
    ShownWindow shown;
    ASSERT_TRUE(shown.window.isActiveWindow());
    TAZButton& b = *shown.button;
    const QImage plain = Render(b);

    shown.Focus(&b);
    ASSERT_TRUE(b.hasFocus());
    EXPECT_FALSE(b.PaintState().focusedDefault);
    EXPECT_EQ(Render(b), plain) << "focused but not the default button";

    shown.Focus(shown.other);
    b.setDefault(true);
    EXPECT_FALSE(b.PaintState().focusedDefault);
    EXPECT_EQ(Render(b), plain) << "the default button without the focus";

    shown.Focus(&b);
    ASSERT_TRUE(b.hasFocus());
    EXPECT_TRUE(b.PaintState().focusedDefault);
    const QImage focused = Render(b);
    EXPECT_NE(focused, plain);
    QImage expected = Blank();
    {
        QPainter p(&expected);
        PaintAZButtonFace(p, QRect(0, 0, W, H), {false, false, true}, b.text(), b.font(), b.ForeColor(),
                          b.palette());
    }
    EXPECT_EQ(focused, expected);
}

TEST(AZButton, HoveringChangesNothing) {
    ShownWindow shown;
    TAZButton& b = *shown.button;
    const QImage before = Render(b);
    const QPointF inside(W / 2.0, H / 2.0);
    QEnterEvent enter(inside, b.mapTo(&shown.window, inside), b.mapToGlobal(inside));
    QApplication::sendEvent(&b, &enter);
    b.setAttribute(Qt::WA_UnderMouse, true);
    QApplication::processEvents();
    EXPECT_TRUE(b.underMouse());
    EXPECT_EQ(Render(b), before);
}

TEST(AZButton, ColoursDefaultToThePalettesButtonColours) {
    TAZButton b;
    EXPECT_EQ(b.ForeColor(), b.palette().color(QPalette::ButtonText));
    EXPECT_EQ(b.BackColor(), b.palette().color(QPalette::Button));
    EXPECT_EQ(b.HoverColor(), b.palette().color(QPalette::Button));
    b.setProperty("BackColor", QColor(Qt::red));
    b.setProperty("HoverColor", QColor(Qt::blue));
    b.setProperty("ForeColor", QColor(Qt::green));
    EXPECT_EQ(b.BackColor(), QColor(Qt::red));
    EXPECT_EQ(b.HoverColor(), QColor(Qt::blue));
    EXPECT_EQ(b.property("ForeColor").value<QColor>(), QColor(Qt::green));
}

TEST(AZButton, BackAndHoverColoursDoNotChangeTheFace) {
    auto b = MakeButton();
    const QImage before = Render(*b);
    b->SetBackColor(Qt::red);
    b->SetHoverColor(Qt::blue);
    EXPECT_EQ(Render(*b), before);
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(AZButton, ChangesThatAffectTheFaceRepaintIt) {
    ShownWindow shown;
    TAZButton& b = *shown.button;
    PaintCounter counter;
    b.installEventFilter(&counter);
    auto repaintsAfter = [&](auto change) {
        ShownWindow::WaitFor([] { return false; }, 100);  // let pending paints settle
        counter.paints = 0;
        change();
        return ShownWindow::WaitFor([&] { return counter.paints > 0; });
    };
    EXPECT_TRUE(repaintsAfter([&] { b.SetForeColor(Qt::darkGreen); }));
    EXPECT_TRUE(repaintsAfter([&] { b.SetBackColor(Qt::darkRed); }));
    EXPECT_TRUE(repaintsAfter([&] { b.SetHoverColor(Qt::darkBlue); }));
    EXPECT_TRUE(repaintsAfter([&] { b.setEnabled(false); }));
    EXPECT_TRUE(repaintsAfter([&] { b.setEnabled(true); }));
    EXPECT_TRUE(repaintsAfter([&] {
        QFont f = b.font();
        f.setPointSize(f.pointSize() + 2);
        b.setFont(f);
    }));
    EXPECT_TRUE(repaintsAfter([&] { b.setDefault(true); }));
}

}  // namespace
}  // namespace tessaly
