// The owner-drawn button on a 75 x 25 "Next >>": its look against one golden picture
// of every state, its behaviour pixel by pixel. After a deliberate change of the look,
// run the test once with TESSALY_UPDATE_GOLDEN=1 to write the picture anew, and look
// at it before committing it.

#include "widgets/az_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QVBoxLayout>

#include <cstdlib>
#include <filesystem>

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace tessaly {
namespace {

constexpr int W = 75, H = 25;
// Edges as the drawing rules count them: R and B one past the last pixel.
constexpr int L = 0, T = 0, R = W, B = H;

// The test's own colours: a caption colour to look for, and what the face must cover.
constexpr QRgb kCaption = 0x800000;
constexpr QRgb kUntouched = 0xFF00FF;

using Point = std::pair<int, int>;
using Ink = std::set<Point>;

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

TEST(AZButton, PressedCaptionMovesOnePixelRightAndDown) {
    auto b = MakeButton();
    const Ink normal = PixelsOf(Render(*b), kCaption, kInterior);
    b->setDown(true);
    const Ink pressed = PixelsOf(Render(*b), kCaption, kInterior.translated(1, 1));
    ASSERT_GT(normal.size(), 20u);
    EXPECT_EQ(pressed, Shifted(normal, 1, 1));
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

// Normal, hovered, pressed, disabled and focused as the default button, side by side
// with a one-pixel gap, each as the widget paints itself.
QImage EveryState(ShownWindow& shown) {
    TAZButton& b = *shown.button;
    b.SetForeColor(QColor::fromRgb(kCaption));
    shown.Focus(shown.other);
    std::vector<QImage> states;
    states.push_back(Render(b));

    const QPointF inside(W / 2.0, H / 2.0);
    QEnterEvent enter(inside, b.mapTo(&shown.window, inside), b.mapToGlobal(inside));
    QApplication::sendEvent(&b, &enter);
    b.setAttribute(Qt::WA_UnderMouse, true);
    QApplication::processEvents();
    states.push_back(Render(b));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&b, &leave);
    b.setAttribute(Qt::WA_UnderMouse, false);

    b.setDown(true);
    states.push_back(Render(b));
    b.setDown(false);
    b.setEnabled(false);
    states.push_back(Render(b));
    b.setEnabled(true);
    b.setDefault(true);
    shown.Focus(&b);
    states.push_back(Render(b));

    QImage picture = Blank(static_cast<int>(states.size()) * (W + 1) - 1, H);
    {
        QPainter p(&picture);
        for (std::size_t k = 0; k < states.size(); ++k) p.drawImage(static_cast<int>(k) * (W + 1), 0, states[k]);
    }
    return picture;
}

TEST(AZButton, EveryStateLooksAsTheGoldenPicture) {
    ShownWindow shown;
    ASSERT_TRUE(shown.window.isActiveWindow());
    const QImage picture = EveryState(shown).convertToFormat(QImage::Format_RGB32);
    const QString golden = QStringLiteral(TESSALY_GOLDEN_DIR "/az_button_states.png");
    if (std::getenv("TESSALY_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(picture.save(golden));
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << golden.toStdString();
    ASSERT_EQ(picture.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) differing += At(picture, x, y) != At(expected, x, y);
    if (differing > 0) {
        const auto seen = std::filesystem::temp_directory_path() / "az_button_states.png";
        picture.save(QString::fromStdString(seen.string()));
        ADD_FAILURE() << differing << " pixels differ from " << golden.toStdString() << "; the picture drawn is "
                      << seen.string();
    }
}

TEST(AZButton, FocusFrameShowsWhileTheButtonHasTheFocus) {
    ShownWindow shown;
    ASSERT_TRUE(shown.window.isActiveWindow());
    TAZButton& b = *shown.button;
    shown.Focus(shown.other);
    const QImage plain = Render(b);

    b.setDefault(true);
    EXPECT_FALSE(b.PaintState().focused);
    EXPECT_EQ(Render(b), plain) << "the default button without the focus";

    b.setDefault(false);
    shown.Focus(&b);
    ASSERT_TRUE(b.hasFocus());
    EXPECT_TRUE(b.PaintState().focused);
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
