#include "symbology/gui/histogram_drawing.h"
#include "symbology/gui/histogram_window.h"
#include "symbology/gui/scatter_drawing.h"
#include "symbology/gui/scatter_window.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>

#include <cmath>
#include <limits>

namespace tessaly {
namespace {

using test::RecordedMessages;
using test::TempDir;

constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();
const QColor kBar(206, 195, 149);

// VALUE holds 0..10 and one empty value (stored as asterisks); SAME holds 5 everywhere.
std::string MakeChartTable(const TempDir& dir) {
    const std::string path = (dir / "chart.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "NAME", FTString, 10, 0);
    DBFAddField(h, "VALUE", FTDouble, 10, 3);
    DBFAddField(h, "SAME", FTInteger, 5, 0);
    for (int i = 0; i <= 11; ++i) {
        DBFWriteStringAttribute(h, i, 0, "n");
        if (i == 6)
            DBFWriteNULLAttribute(h, i, 1);
        else
            DBFWriteDoubleAttribute(h, i, 1, i < 6 ? i : i - 1);
        DBFWriteIntegerAttribute(h, i, 2, 5);
    }
    DBFClose(h);
    return path;
}

int CountPixels(const QImage& image, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

void Pick(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QImage Picture(const QDialog& window) {
    return window.findChild<QLabel*>("Image1")->pixmap().toImage();
}

QString Text(const QDialog& window, const char* label) {
    return window.findChild<QLabel*>(label)->text();
}

TEST(HistogramDrawing, BarsRiseToTheirCountsOverTheAxes) {
    std::vector<double> values;
    for (int i = 0; i <= 10; ++i) values.push_back(i);
    QImage picture(547, 328, QImage::Format_RGB32);
    DrawHistogram(picture, std::nullopt);
    EXPECT_EQ(picture.pixelColor(50, 100), Qt::black);
    EXPECT_EQ(picture.pixelColor(300, 318), Qt::black);
    EXPECT_EQ(CountPixels(picture, kBar), 0);

    DrawHistogram(picture, CountHistogram(values, {0, 10, 11}, 5));
    // Bar 1 (count 2) reaches y 120, bar 5 (count 3) the top of the plot at y 20.
    EXPECT_EQ(picture.pixelColor(100, 125), kBar);
    EXPECT_EQ(picture.pixelColor(60, 118), Qt::white);
    EXPECT_EQ(picture.pixelColor(489, 25), kBar);
    EXPECT_EQ(picture.pixelColor(52, 200), Qt::black);  // a bar's outline
    // Its share is written just above each bar.
    EXPECT_LT(CountPixels(picture.copy(60, 107, 80, 13), Qt::white), 80 * 13);
}

TEST(ScatterDrawing, EverySquareWithBothValuesLandsOnItsPixel) {
    const QColor red(255, 0, 0);
    QImage picture(600, 450, QImage::Format_RGB32);
    TPlot plot;
    plot.XMax = 100;
    plot.YMax = 100;
    DrawScatterPlot(picture, plot, {0, 50, 100, kEmpty, 30}, {0, 50, 100, 60, kEmpty});
    EXPECT_EQ(plot.PlotWidth, 500);
    EXPECT_EQ(CountPixels(picture, red), 3 * 12);  // outlines of the three records with both values
    // 100, 100 is drawn at (591, 9): outline from 589 to 592, white inside.
    EXPECT_EQ(picture.pixelColor(589, 7), red);
    EXPECT_EQ(picture.pixelColor(592, 10), red);
    EXPECT_EQ(picture.pixelColor(590, 8), Qt::white);

    // A field of one value draws its points in the middle of its axis.
    plot = TPlot{};
    plot.XMin = plot.XMax = 7;
    plot.YMax = 10;
    DrawScatterPlot(picture, plot, {7, 7, 7}, {1, 5, 9});
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixelColor(x, y) == red) {
                EXPECT_TRUE(x >= 339 && x <= 342) << x;
            }
    EXPECT_EQ(CountPixels(picture, red), 3 * 12);
}

TEST(HistogramWindow, LeavesEmptyValuesOutAndReadsTheBarUnderTheMouse) {
    TempDir dir;
    RecordedMessages messages;
    TfrHistogram window(nullptr, MakeChartTable(dir), messages);
    EXPECT_EQ(window.windowTitle(), "Histogram");
    EXPECT_EQ(Picture(window).size(), QSize(547, 328));
    auto* fields = window.findChild<QComboBox*>("ComboFields");
    EXPECT_EQ(fields->count(), 2);
    EXPECT_EQ(fields->currentIndex(), -1);
    EXPECT_EQ(window.findChild<QComboBox*>("ComboClasses")->currentText(), "5");

    Pick(fields, "VALUE");
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(Text(window, "LabelEmpty"), "1 empty value left out");
    EXPECT_GT(CountPixels(Picture(window), kBar), 0);
    auto* image = window.findChild<QLabel*>("Image1");
    const auto moveTo = [&](int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 100), QPointF(x, 100), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(image, &move);
        return Text(window, "Label3");
    };
    EXPECT_EQ(moveTo(60), "[0 : 2]");
    EXPECT_EQ(moveTo(20), "");
    Pick(window.findChild<QComboBox*>("ComboClasses"), "13");
    EXPECT_EQ(Text(window, "Label3"), "");
    EXPECT_EQ(moveTo(60), "[0 : 1]");

    Pick(fields, "SAME");
    EXPECT_EQ(messages.errors, std::vector<std::string>{"No Values for Histogram"});
    EXPECT_EQ(CountPixels(Picture(window), kBar), 0);
    EXPECT_EQ(Text(window, "LabelEmpty"), "");
    EXPECT_EQ(moveTo(60), "");
}

TEST(ScatterWindow, RedrawsAtTheNewSizeWhenResized) {
    TempDir dir;
    RecordedMessages messages;
    TfrScatter window(nullptr, MakeChartTable(dir), messages);
    EXPECT_EQ(window.windowTitle(), "Scatter Plot");
    window.show();
    Pick(window.findChild<QComboBox*>("ComboX"), "VALUE");
    EXPECT_EQ(CountPixels(Picture(window), Qt::red), 0);  // one axis alone draws no points
    Pick(window.findChild<QComboBox*>("ComboY"), "SAME");
    EXPECT_EQ(Text(window, "LabelEmpty"), "1 empty value left out");
    EXPECT_EQ(CountPixels(Picture(window), Qt::red), 11 * 12);

    window.resize(800, 600);
    const QImage picture = Picture(window);
    EXPECT_EQ(picture.size(), QSize(800, 600 - 34));
    // The largest X value, 10, now at x = 791, the one Y value mid-height.
    const int middle = 600 - 34 - 50 - (600 - 34 - 50) / 2 + 10 - 1;
    EXPECT_EQ(picture.pixelColor(789, middle), Qt::red);
    EXPECT_EQ(picture.pixelColor(790, middle), Qt::white);
    EXPECT_TRUE(messages.errors.empty());
}

}  // namespace
}  // namespace tessaly
