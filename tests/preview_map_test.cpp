// The preview map: its arithmetic, its pictures, its window and its command line,
// and its picture against an independent renderer.

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/preview_drawing.h"
#include "app/preview_map_window.h"
#include "app/startup.h"
#include "app/web_map_host.h"
#include "engine/conversion_settings.h"
#include "engine/label_point.h"
#include "input/dbf_table.h"
#include "input/shapefile_reader.h"
#include "symbology/classification.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <cmath>
#include <set>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::RecordedMessages;
using test::ShpBuilder;
using test::TempDir;

// A 110 x 110 picture over the extent 0..100 both ways: one map unit a pixel,
// x at column trunc(x) + 6 and y at row 104 - trunc(y).
constexpr std::array<double, 4> kSquare{0, 0, 100, 100};

TEST(PreviewLayout, MappingBothWaysAndTheOnePixelDifference) {
    struct Case {
        int width, height;
        std::array<double, 4> extent;
        double x, y;
        int px, py;      // MapToPixel
        double bx, by;   // PixelToMap(px, py)
    };
    const Case cases[] = {
        {110, 110, kSquare, 0, 0, 6, 104, 1, 1},
        {110, 110, kSquare, 99.9, 50.5, 105, 54, 100, 51},
        // Twice as wide as high: the width decides the scale, spare room at the top.
        {210, 110, {-100, 0, 100, 20}, 100, 20, 206, 84, 101, 21},
        // Twice as high as wide: the height decides, half a map unit a pixel.
        {110, 210, {0, 0, 10, 100}, 5, 100, 16, 4, 5.5, 100.5},
    };
    for (const Case& c : cases) {
        const PreviewLayout l = LayoutPreview(c.width, c.height, c.extent);
        ASSERT_TRUE(l.Usable());
        const PixelPoint p = MapToPixel(l, c.x, c.y);
        EXPECT_EQ(p.x, c.px) << c.x;
        EXPECT_EQ(p.y, c.py) << c.y;
        const MapPoint back = PixelToMap(l, p.x, p.y);
        EXPECT_DOUBLE_EQ(back.x, c.bx) << c.x;
        EXPECT_DOUBLE_EQ(back.y, c.by) << c.y;
    }
    EXPECT_DOUBLE_EQ(LayoutPreview(210, 110, {-100, 0, 100, 20}).MapScale, 1.0);
}

TEST(PreviewLayout, OnePointIsCentredAndATinyPictureDrawsNothing) {
    const PreviewLayout point = LayoutPreview(110, 90, {-110, 40, -110, 40});
    ASSERT_TRUE(point.Usable());
    const PixelPoint p = MapToPixel(point, -110, 40);
    EXPECT_NEAR(p.x, 5 + 100 / 2, 1);
    EXPECT_NEAR(p.y, 5 + 80 / 2, 1);
    EXPECT_FALSE(LayoutPreview(10, 10, kSquare).Usable());
    EXPECT_FALSE(LayoutPreview(0, 0, kSquare).Usable());
    EXPECT_FALSE(LayoutPreview(110, 110, {0, 0, NAN, 1}).Usable());
}

TEST(PreviewLayout, ReadoutTexts) {
    const ReadoutSystem geo;
    const ReadoutSystem utm{false, false, 12};
    const struct {
        ReadoutSystem system;
        double x, y;
        const char* text;
    } cases[] = {
        {geo, -75.25, 45.5, "Lat: 45.500000, Lon: -75.250000"},
        {geo, 10, -89.95, "Lat: --, Lon: 10.000000"},
        {geo, 10, -89.9, "Lat: -89.900000, Lon: 10.000000"},
        {geo, 180, 90, "Lat: 90.000000, Lon: 180.000000"},
        {geo, -180.5, 90.1, "Lat: --, Lon: --"},
        {utm, 500000, 4649776.224, "UTM 12 S  Easting: 500000.00, Northing: 4649776.22"},
        {{false, true, 3}, -1.5, 0, "UTM 3 N  Easting: -1.50, Northing: 0.00"},
        {{false, true, 12, true}, 2296583.3333, -12.345, "X: 2296583.33, Y: -12.35"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadoutText(c.system, {c.x, c.y}), c.text);
}

class PreviewPicture : public ::testing::Test {
protected:
    PreviewInput Input(const ShpBuilder& shp, std::uint8_t shapeClass) {
        const fs::path path = dir / "drawn.shp";
        test::WriteBytes(path, shp.Bytes());
        return {path.string(), (dir / "drawn.dbf").string(), shapeClass, kSquare, true};
    }
    QRgb At(int px, int py) const { return picture.pixel(px, py) & 0xFFFFFF; }
    // Every colour in the picture.
    std::set<QRgb> Colours() const {
        std::set<QRgb> colours;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) colours.insert(At(x, y));
        return colours;
    }
    static std::vector<ShpBuilder::Point> Square(double x0, double y0, double x1, double y1) {
        return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}, {x0, y0}};
    }

    TempDir dir;
    TSymbolList symbols;
    QImage picture{110, 110, QImage::Format_RGB32};
    static constexpr QRgb kWhite = 0xFFFFFF;
    static constexpr QRgb kFill = 0x95CAFF;  // the default fill, as red-green-blue
    static constexpr QRgb kBlue = 0x0000FF;
};

TEST_F(PreviewPicture, HolesStayEmpty) {
    ShpBuilder shp(5);
    auto rings = Square(10, 10, 90, 90);
    const auto hole = Square(40, 40, 60, 60);
    rings.insert(rings.end(), hole.begin(), hole.end());
    shp.AddPolygon({0, 5}, rings);
    DrawPreview(picture, Input(shp, 3), symbols);
    EXPECT_EQ(At(6 + 25, 104 - 25), kFill);
    EXPECT_EQ(At(6 + 50, 104 - 50), kWhite);
    EXPECT_EQ(At(6 + 10, 104 - 50), kBlue);  // the outline
}

TEST_F(PreviewPicture, APolygonPartIsDrawnFromItsFirst1000Points) {
    // 1000 points around the left square, then 500 more out to the right.
    std::vector<ShpBuilder::Point> ring;
    for (int i = 0; i < 999; ++i) {
        const double t = i / 999.0 * 4;
        const double s = (t - std::floor(t)) * 30;
        ring.push_back(t < 1 ? ShpBuilder::Point{10, 10 + s} : t < 2 ? ShpBuilder::Point{10 + s, 40}
                       : t < 3 ? ShpBuilder::Point{40, 40 - s} : ShpBuilder::Point{40 - s, 10});
    }
    ring.push_back({10, 10});
    for (int i = 0; i < 500; ++i) ring.push_back({60 + 30.0 * (i % 2), 10 + 80.0 * i / 500});
    ASSERT_EQ(ring.size(), 1500u);
    ShpBuilder shp(5);
    shp.AddPolygon({0}, ring);
    // A polygon part of two points draws nothing.
    shp.AddPolygon({0}, {{70, 70}, {80, 80}});
    DrawPreview(picture, Input(shp, 3), symbols);
    EXPECT_EQ(At(6 + 25, 104 - 25), kFill);
    EXPECT_EQ(At(6 + 75, 104 - 50), kWhite);
    EXPECT_EQ(At(6 + 75, 104 - 75), kWhite);
}

TEST_F(PreviewPicture, WhiteIconsAreOutlinedBlack) {
    ShpBuilder shp(1);
    shp.AddPoint(50, 50);
    shp.AddNull();  // keeps nothing of the point before it
    DrawPreview(picture, Input(shp, 1), symbols);
    EXPECT_EQ(At(56 - 2, 54 - 2), 0x000000u);
    EXPECT_EQ(At(56 + 1, 54 + 1), 0x000000u);
    EXPECT_EQ(At(56, 54), kWhite);
    EXPECT_EQ(Colours(), (std::set<QRgb>{kWhite, 0x000000}));
}

TEST_F(PreviewPicture, LineWidthZeroOutlinesInTheFillColour) {
    ShpBuilder shp(5);
    shp.AddPolygon({0}, Square(10, 10, 90, 90));
    symbols.DefaultSymbol().LineWidth = 0;
    DrawPreview(picture, Input(shp, 3), symbols);
    EXPECT_EQ(Colours(), (std::set<QRgb>{kWhite, kFill}));
    EXPECT_EQ(At(6 + 10, 104 - 50), kFill);
}

// The wizard's centroid choice shows the document's label point, inside the U
// whose box centre lies in its notch.
TEST_F(PreviewPicture, LabelPointsAreTheDocumentsOwn) {
    const std::vector<ShpBuilder::Point> u = {{10, 10}, {10, 90}, {30, 90}, {30, 30}, {70, 30},
                                              {70, 90}, {90, 90}, {90, 10}, {10, 10}};
    std::vector<TCXY> ring;
    for (const auto& p : u) ring.push_back({p.x, p.y});
    const TCXY label = LabelPoint(ring, {});
    ShpBuilder shp(5);
    shp.AddPolygon({0}, u);
    PreviewInput input = Input(shp, 3);
    DrawPreview(picture, input, symbols);
    EXPECT_EQ(Colours().count(0x000000), 0u);
    input.LabelPoints = true;
    DrawPreview(picture, input, symbols);
    // The white icon's mark, outlined black, around the label point's pixel.
    const int x = 6 + static_cast<int>(label.X), y = 104 - static_cast<int>(label.Y);
    int black = 0;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) black += At(x + dx, y + dy) == 0x000000u;
    EXPECT_GE(black, 8);
    EXPECT_EQ(Colours().count(0x000000), 1u);
    EXPECT_EQ(At(6 + 50, 104 - 50), kWhite);  // nothing at the box centre
}

TEST_F(PreviewPicture, PolylinesOfOnePointDrawNothing) {
    ShpBuilder shp(3);
    shp.AddPolygon({0}, {{20, 20}}, 3);
    DrawPreview(picture, Input(shp, 2), symbols);
    EXPECT_EQ(Colours(), (std::set<QRgb>{kWhite}));
    ShpBuilder line(3);
    line.AddPolygon({0}, {{20, 20}, {80, 20}}, 3);
    DrawPreview(picture, Input(line, 2), symbols);
    EXPECT_EQ(At(6 + 50, 104 - 20), kBlue);
}

TEST_F(PreviewPicture, ASinglePointExtentIsDrawnInTheMiddle) {
    ShpBuilder shp(1);
    shp.AddPoint(-110, 40);
    PreviewInput input = Input(shp, 1);
    input.Extent = {-110, 40, -110, 40};
    const PreviewResult r = DrawPreview(picture, input, symbols);
    EXPECT_TRUE(r.Problem.empty()) << r.Problem;
    const PixelPoint p = MapToPixel(r.Layout, -110, 40);
    EXPECT_NEAR(p.x, 56, 1);
    EXPECT_NEAR(p.y, 54, 1);
    EXPECT_EQ(At(p.x - 2, p.y - 2), 0x000000u);
    QImage tiny(8, 8, QImage::Format_RGB32);
    DrawPreview(tiny, input, symbols);
    EXPECT_EQ(tiny.pixel(4, 4) & 0xFFFFFF, kWhite);
}

TEST_F(PreviewPicture, UniqueAndGraduatedClassesColourTheStates) {
    const fs::path states = dir.CopyShared("us-atlas/states");
    PreviewInput input{states.string(), AttributeTablePathOf(states.string()), 3, {-125, 24, -66, 50}, true};
    picture = QImage(400, 200, QImage::Format_RGB32);
    BuildUniqueClasses(input.TablePath, "name", symbols, 3);
    symbols.SetFieldName("name");
    symbols.Kind = kUniqueValues;
    DrawPreview(picture, input, symbols);
    EXPECT_GT(Colours().size(), 20u);

    // The white share of the population, in five classes.
    const fs::path groups = dir.CopyShared("pyshp/blockgroups");
    input = {groups.string(), AttributeTablePathOf(groups.string()), 3, {-122.52, 37.65, -122.32, 37.87}, true};
    TKml kml;
    GraduatedRequest r;
    r.field = "WHITE";
    r.normField = "POP1990";
    r.classCount = 5;
    BuildGraduatedClasses(input.TablePath, r, kml, symbols, 3);
    symbols.SetFieldName("WHITE");
    symbols.SetNormField("POP1990");
    symbols.Kind = kGraduated;
    const PreviewResult drawn = DrawPreview(picture, input, symbols);
    EXPECT_TRUE(drawn.Problem.empty()) << drawn.Problem;
    // Every record falls in a class: more than one fill, none in the default's.
    EXPECT_GE(Colours().size(), 4u);
    EXPECT_EQ(Colours().count(kFill), 0u);
    EXPECT_EQ(symbols.Ranges.Count(), 0);  // released after the walk

    // A classification field the table lacks: the default symbol, and the reason.
    symbols.SetFieldName("nosuch");
    EXPECT_NE(DrawPreview(picture, input, symbols).Problem.find("nosuch"), std::string::npos);
}

class RecordingWebMap : public WebMapHost {
public:
    bool WebMapOpen() const override { return open; }
    void ShowExtentOnWebMap(int zoom, int viewType, const std::array<double, 4>& extent) override {
        calls.push_back("extent " + std::to_string(zoom) + " " + std::to_string(viewType) + " " +
                        std::to_string(extent[0]));
        open = true;
    }
    void ShowPointOnWebMap(int zoom, int viewType, double latitude, double longitude) override {
        calls.push_back("point " + std::to_string(zoom) + " " + std::to_string(viewType) + " " +
                        std::to_string(latitude) + " " + std::to_string(longitude));
    }
    bool open = false;
    std::vector<std::string> calls;
};

TEST(PreviewWindow, DrawsReadsOutAndRebuildsAfterAResize) {
    TempDir dir;
    RecordedMessages messages;
    TSymbolList symbols;
    RecordingWebMap web;
    ReadoutSystem readout{false, false, 12};
    TfrMap map(symbols, [&] { return readout; }, &web, messages);
    EXPECT_EQ(map.size(), QSize(445, 412));
    EXPECT_EQ(map.windowTitle(), "Preview Map");

    // Nothing loaded: white, no read-out, a double-click does nothing.
    map.ShowPreview();
    map.Image1MouseMove(50, 50);
    map.Image1DblClick();
    EXPECT_TRUE(map.findChild<QLabel*>(QStringLiteral("LabelCoo"))->text().isEmpty());
    map.OpenGMaps1Click();
    EXPECT_EQ(web.calls, (std::vector<std::string>{"extent 10 1 0.000000"}));

    const fs::path states = dir.CopyShared("us-atlas/states");
    map.SetInput({states.string(), AttributeTablePathOf(states.string()), 3, {-125, 24, -66, 50}, true});
    map.ShowPreview();
    const QSize first = map.Picture().size();
    EXPECT_EQ(first, map.findChild<QWidget*>(QStringLiteral("Panel1"))->size());
    EXPECT_EQ(first, QSize(445, 412 - 21));
    // Kansas, in the middle of the drawing that hangs from the bottom-left corner.
    const PixelPoint kansas = MapToPixel(map.Layout(), -98, 38.5);
    EXPECT_EQ(map.Picture().pixel(kansas.x, kansas.y) & 0xFFFFFF, 0x95CAFFu);

    map.Image1MouseMove(6, map.Layout().DrawHeight + 5);
    EXPECT_EQ(map.findChild<QLabel*>(QStringLiteral("LabelCoo"))->text().toStdString(),
              ReadoutText(readout, PixelToMap(map.Layout(), 6, map.Layout().DrawHeight + 5)));
    EXPECT_NE(map.findChild<QLabel*>(QStringLiteral("LabelCoo"))->text().indexOf("UTM 12 S  Easting: -124."), -1);

    map.ZoomClick(7);
    map.ViewTypeClick(3);
    map.Image1DblClick();
    ASSERT_EQ(web.calls.size(), 2u);
    EXPECT_EQ(web.calls[1].rfind("point 7 3 ", 0), 0u) << web.calls[1];

    map.resize(600, 500);
    QApplication::processEvents();
    EXPECT_TRUE(map.ResizePending());
    EXPECT_EQ(map.Picture().size(), first);
    map.Timer1Timer();
    EXPECT_FALSE(map.ResizePending());
    EXPECT_EQ(map.Picture().size(), map.findChild<QWidget*>(QStringLiteral("Panel1"))->size());
    EXPECT_GT(map.Picture().width(), first.width());

    // Closing hides it and stops the drawing; no web view was ever made.
    map.close();
    EXPECT_TRUE(map.isHidden());
    EXPECT_FALSE(map.PreviewActive());
    EXPECT_EQ(map.findChild<QWidget*>(QStringLiteral("WebBrowser1")), nullptr);

    const fs::path png = dir / "saved.png";
    ASSERT_TRUE(map.SavePicture(QString::fromStdString(png.string())));
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).size(), map.Picture().size());
    EXPECT_FALSE(map.SavePicture(QString::fromStdString((dir / "no/such/folder.png").string())));
    EXPECT_EQ(messages.errors.size(), 1u);
}

TEST(PreviewWindow, MenuInTheDesignsOrder) {
    RecordedMessages messages;
    TSymbolList symbols;
    TfrMap map(symbols, [] { return ReadoutSystem{}; }, nullptr, messages);
    const auto* menu = map.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (const QAction* a : menu->actions()) entries << a->text();
    EXPECT_EQ(entries, (QStringList{"Open GMaps", "Zoom", "View Type", "Save Picture..."}));
    QStringList zooms, checked;
    for (const QAction* a : menu->actions()[1]->menu()->actions()) {
        zooms << a->text();
        if (a->isChecked()) checked << a->text();
    }
    EXPECT_EQ(zooms.size(), 11);
    EXPECT_EQ(zooms.front(), "5");
    EXPECT_EQ(zooms.back(), "15");
    EXPECT_EQ(checked, QStringList{"10"});
    map.ZoomClick(15);
    checked.clear();
    for (const QAction* a : menu->actions()[1]->menu()->actions())
        if (a->isChecked()) checked << a->text();
    EXPECT_EQ(checked, QStringList{"15"});
    map.OpenGMaps1Click();  // without a web map: nothing, and no failure
}

TEST(PreviewWindow, TheWizardRedrawsItAfterEachSymbologyChange) {
    TempDir dir;
    RecordedMessages messages;
    struct NoDialogs : WizardDialogs {
        QString OpenShapefile(QWidget*) override { return {}; }
        QString SaveKml(QWidget*, const QString&) override { return {}; }
        QColor ChooseColour(QWidget*, const QColor&) override { return {}; }
        void OpenDocument(const QString&) override {}
    } dialogs;
    TForm1 window(messages, dialogs);
    const auto* button = window.findChild<QToolButton*>(QStringLiteral("SpeedButton8"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->geometry(), QRect(263, 0, 22, 21));
    EXPECT_EQ(button->toolTip(), "Preview Map");

    ASSERT_TRUE(window.LoadInputFile(QString::fromStdString(dir.CopyShared("us-atlas/states").string())));
    EXPECT_TRUE(window.Preview().isHidden());  // not wanted yet
    const_cast<QToolButton*>(button)->click();
    EXPECT_TRUE(window.Preview().isVisible());
    const QImage single = window.Preview().Picture();

    window.findChild<QAbstractButton*>(QStringLiteral("RadioUnique"))->click();
    window.AZButtonNextClick();
    window.AZButtonNextClick();
    auto* field = window.findChild<QComboBox*>(QStringLiteral("ComboField"));
    field->setCurrentIndex(field->findText(QStringLiteral("name")));
    emit field->activated(field->currentIndex());
    EXPECT_NE(window.Preview().Picture(), single);
    EXPECT_EQ(window.Engine().Symbols.Kind, kUniqueValues);
}

TEST(PreviewWindow, PlacedFromTheSettingsFile) {
    TempDir dir;
    RecordedMessages messages;
    struct NoDialogs : WizardDialogs {
        QString OpenShapefile(QWidget*) override { return {}; }
        QString SaveKml(QWidget*, const QString&) override { return {}; }
        QColor ChooseColour(QWidget*, const QColor&) override { return {}; }
        void OpenDocument(const QString&) override {}
    } dialogs;
    const QString path = QString::fromStdString((dir / "tessaly.ini").string());
    {
        TForm1 window(messages, dialogs);
        SettingsFile first = RestoreWindow(window, path);
        // First use: the design's size, two pixels right of the wizard, level with it.
        EXPECT_EQ(first.PreviewSize.x, 445);
        EXPECT_EQ(first.PreviewSize.y, 412);
        EXPECT_EQ(first.PreviewPosition.x, first.MainPosition.x + window.frameGeometry().width() + 2);
        EXPECT_EQ(first.PreviewPosition.y, first.MainPosition.y);
        PlacePreview(window.Preview(), first);
        window.Preview().move(70, 80);
        window.Preview().resize(500, 300);
        RememberPreview(first, window.Preview());
        ASSERT_TRUE(SaveWindow(window, first, path));
    }
    TForm1 again(messages, dialogs);
    PlacePreview(again.Preview(), RestoreWindow(again, path));
    EXPECT_EQ(again.Preview().pos(), QPoint(70, 80));
    EXPECT_EQ(again.Preview().size(), QSize(500, 300));
}

TEST(PreviewCommand, WritesThePictureOrNamesTheBadInput) {
    TempDir dir;
    const fs::path states = dir.CopyShared("us-atlas/states");
    const fs::path png = dir / "states.png";
    const std::string tessaly = TESSALY_DESKTOP;
    auto run = [&](const std::string& args) {
        return test::RunCommand("cd '" + dir.Path().string() + "' && env -u DISPLAY QT_QPA_PLATFORM=offscreen '" +
                                tessaly + "' " + args + " 2>&1");
    };
    EXPECT_EQ(run("--preview-png '" + png.string() + "' --size 320x200 '" + states.string() + "'").status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).size(), QSize(320, 200));
    EXPECT_EQ(run("--preview-png '" + png.string() + "' '" + states.string() + "'").status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).size(), QSize(640, 480));
    EXPECT_FALSE(fs::exists(dir / "tessaly.ini"));

    const fs::path notShapefile = dir / "states.dbf";
    const test::CommandResult bad = run("--preview-png '" + (dir / "bad.png").string() + "' '" + notShapefile.string() + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find(notShapefile.string()), std::string::npos) << bad.output;
    EXPECT_FALSE(fs::exists(dir / "bad.png"));
    EXPECT_EQ(run("--preview-png only.png").status, 2);
    EXPECT_EQ(run("--preview-png a.png --size 10 '" + states.string() + "'").status, 2);
    EXPECT_NE(run("--help").output.find("--preview-png OUT.png [--size WIDTHxHEIGHT] INPUT.shp"), std::string::npos);
}

// The preview of a polygon file without holes covers the pixels gdal_rasterize
// burns for the same extent and scale. Framed on the contiguous states: Alaska's
// main ring has 2032 points, of which the preview draws the first 1000.
TEST(PreviewAgainstGdal, CoversTheSamePixels) {
    TempDir dir;
    const fs::path states = dir.CopyShared("us-atlas/states");
    const int width = 1000, height = 500;
    QImage ours(width, height, QImage::Format_RGB32);
    TSymbolList symbols;
    const PreviewInput input{states.string(), AttributeTablePathOf(states.string()), 3, {-125, 24, -66, 50}, true};
    const PreviewLayout l = DrawPreview(ours, input, symbols).Layout;

    // Column 0 and row 0 of the picture, in map coordinates.
    const double left = l.OriginX - (l.MarginLeft + 1) * l.MapScale;
    const double top = l.OriginY + (l.DrawHeight + l.MarginBottom) * l.MapScale;
    char te[200];
    std::snprintf(te, sizeof te, "%.12g %.12g %.12g %.12g", left, top - height * l.MapScale,
                  left + width * l.MapScale, top);
    const fs::path burnt = dir / "gdal.bmp";
    const test::CommandResult gdal = test::RunCommand(
        "gdal_rasterize -q -of BMP -ot Byte -burn 255 -init 0 -te " + std::string(te) + " -ts " +
        std::to_string(width) + " " + std::to_string(height) + " '" + states.string() + "' '" + burnt.string() + "' 2>&1");
    ASSERT_EQ(gdal.status, 0) << gdal.output;

    const QImage theirs = QImage(QString::fromStdString(burnt.string())).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(ours.size(), theirs.size());
    long both = 0, either = 0, oursOnly = 0, theirsOnly = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool a = (ours.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            const bool b = qGray(theirs.pixel(x, y)) > 127;
            both += a && b;
            either += a || b;
            oursOnly += a && !b;
            theirsOnly += b && !a;
        }
    ASSERT_GT(either, 1000);
    const double overlap = double(both) / double(either);
    EXPECT_GE(overlap, 0.9) << "ours only " << oursOnly << ", gdal only " << theirsOnly << ", both " << both;
    std::printf("overlap of filled pixels with gdal_rasterize: %.3f\n", overlap);
}

}  // namespace
}  // namespace tessaly
