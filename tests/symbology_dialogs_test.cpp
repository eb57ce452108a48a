// The symbol, icon and ramp dialogs driven without their modal loop, and the
// symbology pages' commands with scripted answers.

#include "app/main_window.h"
#include "app/palette_picture.h"
#include "app/symbol_drawing.h"
#include "engine/icon_pictures.h"
#include "symbology/colour_ramps.h"
#include "symbology/gui/icon_picker.h"
#include "symbology/gui/ramp_dialogs.h"
#include "symbology/gui/symbol_dialog.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>

namespace tessaly {
namespace {

template <typename W>
W* Child(QObject& parent, const char* name) {
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(PaletteCells, RowAndColumnOfAnIcon) {
    EXPECT_EQ(PaletteCell(114), QRect(136, 244, 26, 26));  // row 10, column 6
    EXPECT_EQ(PaletteCell(12), QRect(298, 1, 26, 26));    // row 1, column 12
    EXPECT_EQ(PaletteCell(13), QRect(1, 28, 26, 26));     // row 2, column 1
}

TEST(SymbolDialog, EachShapeClassOpensOnItsTabWithItsControls) {
    struct Case {
        std::uint8_t shapeClass;
        QString tab;
        bool icons, lines, fills;
    } cases[] = {{1, "Icon", true, false, false}, {2, "Line", false, true, false}, {3, "Fill", true, true, true}};
    for (const Case& c : cases) {
        TfrSymbol dialog(nullptr, c.shapeClass, TItemSym{}, PalettePicture(), true, {});
        EXPECT_EQ(dialog.windowTitle(), "Properties");
        auto* tabs = Child<QTabWidget>(dialog, "PageControl1");
        EXPECT_EQ(tabs->tabText(tabs->currentIndex()), c.tab);
        EXPECT_EQ(Child<QWidget>(dialog, "IconColor")->isEnabled(), c.icons);
        EXPECT_EQ(Child<QComboBox>(dialog, "ComboIconScale")->isEnabled(), c.icons);
        EXPECT_EQ(Child<QWidget>(dialog, "Image1")->isHidden(), !c.icons);
        EXPECT_EQ(Child<QWidget>(dialog, "Image2")->isHidden(), !c.icons);
        EXPECT_EQ(Child<QSlider>(dialog, "LineOpacity")->isEnabled(), c.lines);
        EXPECT_EQ(Child<QComboBox>(dialog, "LineWidth")->isEnabled(), c.lines);
        EXPECT_EQ(Child<QComboBox>(dialog, "ComboFill")->isEnabled(), c.fills);
        EXPECT_TRUE(Child<QCheckBox>(dialog, "CheckBox1")->isHidden());
    }
}

TEST(SymbolDialog, AcceptedValuesAreWrittenBackWhole) {
    TItemSym item;
    item.RollOverIcon = 57;
    item.IconScale = 15;
    item.FillMode = 2;
    item.ValueText = "1 : 2";
    TfrSymbol dialog(nullptr, 1, item, PalettePicture(), false, {});
    // Without the roll-over effect its icon is hidden, but written back all the same.
    EXPECT_TRUE(Child<QWidget>(dialog, "Image2")->isHidden());
    auto* scale = Child<QComboBox>(dialog, "ComboIconScale");
    EXPECT_EQ(scale->currentText(), "1.5");
    EXPECT_EQ(scale->count(), 19);
    scale->setCurrentText("1.3");
    Child<QSlider>(dialog, "FillOpacity")->setValue(40);
    EXPECT_EQ(Child<QLabel>(dialog, "Label5")->text(), "Opacity 40");
    Child<QComboBox>(dialog, "LineWidth")->setCurrentIndex(4);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    dialog.WriteBack(item);
    EXPECT_EQ(item.IconScale, 13);
    EXPECT_EQ(item.RollOverIcon, 57);
    EXPECT_EQ(item.FillOpacity, 40);  // a disabled tab is written back too
    EXPECT_EQ(item.LineWidth, 4);
    EXPECT_EQ(item.FillMode, 2);
    EXPECT_EQ(item.ValueText, "1 : 2");
    scale->setCurrentText("2");
    dialog.WriteBack(item);
    EXPECT_EQ(item.IconScale, 20);
}

TEST(IconPicker, OpensOnTheIconAndRefusesCellsWithoutOne) {
    TfrSelIcon dialog(nullptr, 114, PalettePicture());
    EXPECT_EQ(dialog.windowTitle(), "Icons from Google Earth");
    auto* grid = Child<QTableWidget>(dialog, "StringGrid1");
    EXPECT_EQ(grid->currentRow(), 9);
    EXPECT_EQ(grid->currentColumn(), 5);
    EXPECT_FALSE(dialog.Select(165));
    EXPECT_EQ(grid->item(13, 8)->flags(), Qt::NoItemFlags);
    EXPECT_TRUE(dialog.Select(163));
    EXPECT_EQ(dialog.Selection(), 163);
}

// What the picker shows is what a KMZ carries: each cell is the icon's own picture,
// scaled to the cell over white.
TEST(IconPicker, ShowsThePicturesAKmzCarries) {
    for (int n : {1, 61, 114, 163}) {
        const std::string_view png = IconPicture(n);
        QImage expected(26, 26, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(
            0, 0, QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()))
                      .scaled(26, 26, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        const QImage shown = PalettePicture().copy(PaletteCell(n));
        long difference = 0;
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 26; ++x) {
                const QColor a = shown.pixelColor(x, y), b = expected.pixelColor(x, y);
                difference += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            }
        EXPECT_LT(difference / (26 * 26 * 3), 8) << "cell " << n << " is not icon " << n << "'s picture";
    }
    TfrSelIcon dialog(nullptr, 114, PalettePicture());
    EXPECT_TRUE(Child<QLabel>(dialog, "KmlPaletteNote")->text().contains(".kml"));
}

TEST(RampDialogs, UniqueRampsOpenOnTheirNumber) {
    TfrColorRamp dialog(nullptr, 9);
    EXPECT_EQ(dialog.windowTitle(), "Color Ramps");
    EXPECT_EQ(Child<QComboBox>(dialog, "ComboRamp")->currentText(), "The High Seas");
    EXPECT_EQ(dialog.Ramp(), 9);
    // Cool Tones has 13 colours: swatches 14 and 15 show colours 1 and 2 again.
    QImage entry(300, 16, QImage::Format_RGB32);
    QPainter p(&entry);
    DrawUniqueRampEntry(p, QRect(0, 0, 300, 16), 5, "Cool Tones");
    p.end();
    EXPECT_EQ(entry.pixelColor(120 + 10 * 13 + 5, 8), WindowsColour(UniqueRampColor(5, 1)));
    EXPECT_EQ(entry.pixelColor(120 + 10 * 14 + 5, 8), WindowsColour(UniqueRampColor(5, 2)));
}

TEST(RampDialogs, GraduatedChoicesWriteBackByMode) {
    const Colour yellow = 0x00FFFF, red = 0x0000FF;
    struct Case {
        const char* radio;
        bool inverted;
        std::uint8_t mode, list;
        Colour from, to;
    } cases[] = {
        {"RadioButton2", true, 2, 27, red, yellow},     // "Inverted" swaps the stored colours
        {"RadioButton2", false, 2, 27, yellow, red},
        {"RadioButton1", true, 1, 4, yellow, red},      // a ramp list leaves the colours alone
    };
    for (const Case& c : cases) {
        TfrRamp dialog(nullptr, 1, 27, yellow, red, {});
        EXPECT_EQ(dialog.windowTitle(), "Color Ramp");
        Child<QRadioButton>(dialog, c.radio)->setChecked(true);
        Child<QCheckBox>(dialog, "CheckBox1")->setChecked(c.inverted);
        Child<QComboBox>(dialog, "ComboRamp")->setCurrentIndex(4);
        std::uint8_t mode = 1, list = 27;
        Colour from = yellow, to = red;
        dialog.WriteBack(mode, list, from, to);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(list, c.list);
        EXPECT_EQ(from, c.from);
        EXPECT_EQ(to, c.to);
    }
}

// Answers in place of the user, and counts what was asked.
class ScriptedSymbologyDialogs : public SymbologyDialogs {
public:
    QString AskText(QWidget*, const QString& title, const QString&) override {
        titles.push_back(title);
        return answer;
    }
    bool EditSymbol(QWidget*, std::uint8_t, TItemSym& item, bool) override {
        item.LineWidth = 9;
        ++edits;
        return true;
    }
    bool PickIcon(QWidget*, int& icon) override {
        ++picks;
        icon = 7;
        return true;
    }
    bool ChooseUniqueRamp(QWidget*, std::uint8_t& ramp) override {
        ramp = 5;
        return true;
    }
    bool ChooseGradRamp(QWidget*, std::uint8_t& mode, std::uint8_t&, Colour& from, Colour& to) override {
        mode = 2;
        from = 0x000001;
        to = 0x000002;
        return true;
    }
    QString answer;
    std::vector<QString> titles;
    int edits = 0, picks = 0;
};

class NoDialogs : public WizardDialogs {
public:
    QString OpenShapefile(QWidget*) override { return {}; }
    QString SaveKml(QWidget*, const QString&) override { return {}; }
    QColor ChooseColour(QWidget*, const QColor&) override { return QColor(0x11, 0x22, 0x33); }
    void OpenDocument(const QString&) override {}
};

class SymbologyPage : public ::testing::Test {
protected:
    void SetUp() override {
        auto scripted = std::make_unique<ScriptedSymbologyDialogs>();
        answers = scripted.get();
        window.SetSymbologyDialogs(std::move(scripted));
    }
    void Open(const std::string& shapefile, const char* kind) {
        ASSERT_TRUE(window.LoadInputFile(QString::fromStdString(dir.CopyShared(shapefile).string())));
        window.AZButtonNextClick();
        Child<QRadioButton>(window, kind)->click();
        window.AZButtonNextClick();
    }
    void Choose(const char* combo, const QString& text) {
        auto* c = Child<QComboBox>(window, combo);
        c->setCurrentIndex(c->findText(text));
        ASSERT_GE(c->currentIndex(), 0) << text.toStdString();
        emit c->activated(c->currentIndex());
    }
    void Trigger(const char* entry) { Child<QAction>(window, entry)->trigger(); }
    TSymbolList& Symbols() { return window.Engine().Symbols; }

    test::TempDir dir;
    test::RecordedMessages messages;
    NoDialogs dialogs;
    TForm1 window{messages, dialogs};
    ScriptedSymbologyDialogs* answers = nullptr;
};

TEST_F(SymbologyPage, OptionsAnswersAndCommandsReachEveryClass) {
    Open("pyshp/blockgroups", "RadioGraduate");
    auto* options = Child<QWidget>(window, "AZOptions");
    EXPECT_FALSE(options->isEnabled());
    EXPECT_FALSE(Child<QWidget>(window, "RampGButton")->isEnabled());
    // Polygons: no icon entry, the line and fill entries.
    EXPECT_FALSE(Child<QAction>(window, "ChangeIcontoAll1")->isVisible());
    EXPECT_TRUE(Child<QAction>(window, "MenuSetFill2")->isVisible());
    Trigger("ChangeIcontoAll1");  // no classes yet: nothing is asked
    EXPECT_EQ(answers->picks, 0);

    Choose("ComboField", "POP1990");
    EXPECT_TRUE(options->isEnabled());
    ASSERT_EQ(Symbols().Count(), 7);
    for (const auto& [answer, opacity] : {std::pair{"150", 100}, {"-5", 0}, {"37.9", 37}}) {
        answers->answer = answer;
        Trigger("OpacitytoAll1");
        EXPECT_EQ(Symbols().Item(7).FillOpacity, opacity) << answer;
        EXPECT_EQ(Symbols().DefaultSymbol().FillOpacity, opacity) << answer;
    }
    EXPECT_EQ(answers->titles.front(), "Change Opacity to All");
    Trigger("ChangeLineColortoAll1");
    EXPECT_EQ(Symbols().Item(3).LineColor, 0x332211u);
    Trigger("MenuSetFill2");
    EXPECT_EQ(Symbols().Item(1).FillMode, 2);

    emit Child<QTableWidget>(window, "StringGrid1")->cellDoubleClicked(1, 0);
    EXPECT_EQ(Symbols().Item(2).LineWidth, 9);
    emit Child<QTableWidget>(window, "StringGrid1")->cellDoubleClicked(1, 1);  // the value column
    EXPECT_EQ(answers->edits, 1);

    // The custom ramp rebuilds the classes in its colours.
    Child<QAbstractButton>(window, "RampGButton")->click();
    EXPECT_EQ(Symbols().Item(1).FillColor, 0x000001u);
    EXPECT_EQ(Symbols().Item(7).FillColor, 0x000002u);
}

TEST_F(SymbologyPage, TheMethodCutsTheClassesAndDecimalsKeepItsBreaks) {
    Open("pyshp/blockgroups", "RadioGraduate");
    Choose("ComboField", "POP1990");
    const std::string equal = Symbols().Item(2).ValueText;
    Choose("ComboMethod", "Quantile");
    const std::string quantile = Symbols().Item(2).ValueText;
    EXPECT_NE(quantile, equal);
    Symbols().Item(2).LineWidth = 6;
    Child<QAbstractButton>(window, "SBDigitMenos")->click();
    EXPECT_EQ(Symbols().Item(2).LineWidth, 6);
    EXPECT_EQ(Symbols().Item(2).ValueText.size() + 2, quantile.size());  // one decimal fewer on each bound
    Choose("ComboClasses", "4");
    EXPECT_EQ(Symbols().Count(), 4);
    EXPECT_NE(Symbols().Item(2).ValueText.substr(0, 3), quantile.substr(0, 3));
}

TEST_F(SymbologyPage, AnAcceptedUniqueRampRecoloursTheClasses) {
    Open("us-atlas/states", "RadioUnique");
    EXPECT_TRUE(Child<QWidget>(window, "ComboMethod")->isHidden());
    Choose("ComboField", "name");
    Child<QAbstractButton>(window, "RampButton")->click();
    EXPECT_EQ(Symbols().UniqueRamp, 5);
    EXPECT_EQ(Symbols().Item(2).FillColor, UniqueRampColor(5, 2));
}

TEST_F(SymbologyPage, TheGridListsANumericFieldsValuesByValue) {
    Open("pyshp/blockgroups", "RadioUnique");
    Choose("ComboField", "MEDIANRENT");
    auto* grid = Child<QTableWidget>(window, "StringGrid1");
    ASSERT_GT(grid->rowCount(), 100);
    for (int row = 1; row < grid->rowCount(); ++row)
        ASSERT_LT(grid->item(row - 1, 1)->text().toDouble(), grid->item(row, 1)->text().toDouble())
            << grid->item(row - 1, 1)->text().toStdString() << " " << grid->item(row, 1)->text().toStdString();
}

TEST_F(SymbologyPage, TheSinglePictureOpensTheDefaultSymbol) {
    ASSERT_TRUE(window.LoadInputFile(QString::fromStdString(dir.CopyShared("pyshp/blockgroups").string())));
    window.AZButtonNextClick();
    window.AZButtonNextClick();
    ASSERT_EQ(window.CurrentPage(), WizardPage::Single);
    EXPECT_EQ(Child<QLabel>(window, "Label14")->text(), "Click to Change");
    auto* picture = Child<QLabel>(window, "Image1");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &press);
    EXPECT_EQ(answers->edits, 1);
    EXPECT_EQ(Symbols().DefaultSymbol().LineWidth, 9);
}

}  // namespace
}  // namespace tessaly
