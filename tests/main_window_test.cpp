// The wizard driven by its controls' names, with the user's answers scripted.

#include "app/main_window.h"
#include "app/panel_messages.h"
#include "app/wizard_dialogs.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::RecordedMessages;
using test::TempDir;


class ScriptedDialogs : public WizardDialogs {
public:
    QString OpenShapefile(QWidget*) override { return {}; }
    QString SaveKml(QWidget*, const QString& proposed) override {
        proposedName = proposed;
        return saveAs;
    }
    QColor ChooseColour(QWidget*, const QColor&) override { return {}; }
    void OpenDocument(const QString& path) override { opened.push_back(path); }
    QString saveAs, proposedName;
    std::vector<QString> opened;
};

class Wizard : public ::testing::Test {
protected:
    template <typename W>
    W* Control(const char* name) {
        W* w = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) { Control<QAbstractButton>(name)->click(); }
    QString Load(const std::string& base) {
        const QString path = QString::fromStdString(dir.CopyShared(base).string());
        EXPECT_TRUE(window.LoadInputFile(path));
        return path;
    }

    TempDir dir;
    RecordedMessages messages;
    ScriptedDialogs dialogs;
    TForm1 window{messages, dialogs};
};

TEST_F(Wizard, NavigationChecksEachPage) {
    EXPECT_EQ(window.windowTitle(), "Tessaly 2.1b");
    EXPECT_FALSE(Control<QPushButton>("AZButtonBack")->isVisibleTo(&window));
    window.AZButtonNextClick();
    EXPECT_EQ(messages.errors, (std::vector<std::string>{"Select Input File"}));
    EXPECT_EQ(window.CurrentPage(), WizardPage::Input);

    Load("pyshp/blockgroups");
    EXPECT_EQ(Control<QLabel>("LabelEntity")->text(), "Shape Type: Polygon");
    window.AZButtonNextClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Visual);
    window.AZButtonNextClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Single);
    window.AZButtonBackClick();
    Click("RadioGraduate");
    window.AZButtonNextClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Simbology);
    window.AZButtonNextClick();
    EXPECT_EQ(messages.errors.back(), "Select a Field");
    EXPECT_EQ(window.CurrentPage(), WizardPage::Simbology);

    auto* field = Control<QComboBox>("ComboField");
    ASSERT_GT(field->count(), 0);
    field->setCurrentIndex(field->findText("POP1990"));
    emit field->activated(field->currentIndex());
    EXPECT_EQ(window.Engine().Symbols.Count(), 7);
    window.AZButtonNextClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Balloon);
    window.AZButtonBackClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Simbology);  // the symbology chosen decides
    window.AZButtonNextClick();
    window.AZButtonNextClick();
    EXPECT_EQ(window.CurrentPage(), WizardPage::Save);
    EXPECT_FALSE(Control<QPushButton>("AZButtonNext")->isVisibleTo(&window));
    EXPECT_TRUE(Control<QPushButton>("AZButtonBack")->isVisibleTo(&window));

    // Going back and forth keeps the classes; another kind rebuilds the page.
    window.AZButtonBackClick();
    window.AZButtonBackClick();
    window.AZButtonBackClick();
    window.AZButtonNextClick();
    EXPECT_EQ(window.Engine().Symbols.Count(), 7);
    window.AZButtonBackClick();
    Click("RadioUnique");
    window.AZButtonNextClick();
    EXPECT_EQ(window.Engine().Symbols.Count(), 0);
}

TEST_F(Wizard, TheLabelFieldAtLoadIsTheFirstHoldingName) {
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    auto table = [&](std::vector<const char*> names) {
        DBFHandle h = DBFCreate((dir / "points.dbf").c_str());
        for (const char* n : names) DBFAddField(h, n, FTString, 10, 0);
        for (int i = 0; i < 9; ++i) DBFWriteStringAttribute(h, i, 0, "x");
        DBFClose(h);
        EXPECT_TRUE(window.LoadInputFile(QString::fromStdString(shp.string())));
        return Control<QComboBox>("ComboLabel")->currentText().toStdString();
    };
    EXPECT_EQ(table({"ID", "FNAME", "NAME"}), "FNAME");
    EXPECT_EQ(table({"ID", "name_2"}), "name_2");
    EXPECT_EQ(table({"ID", "CODE"}), "ID");
    EXPECT_EQ(Control<QListWidget>("CheckListBox1")->count(), 2);
}

TEST_F(Wizard, AnInputWithoutItsTableIsRefusedAndThePreviousStays) {
    const QString first = Load("us-atlas/states");
    const fs::path lonely = dir.CopyShared("shapefile-js/pointm");
    EXPECT_FALSE(window.LoadInputFile(QString::fromStdString(lonely.string())));
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_NE(messages.errors[0].find("pointm.dbf"), std::string::npos);
    EXPECT_EQ(window.InputShapePath(), first);
    EXPECT_EQ(Control<QLineEdit>("Edit1")->text(), first);

    EXPECT_FALSE(window.LoadInputFile(QString::fromStdString((dir / "none.shp").string())));
    EXPECT_EQ(messages.errors.back(), "Imposible to read input file");
}

TEST_F(Wizard, ReturnGoesForwardExceptWhereTheControlKeepsIt) {
    window.show();
    Load("us-atlas/states");
    struct Step {
        const char* focus;
        WizardPage before, after;
    };
    // The Visual page's classification is Single symbol, so Next leads to the Single page.
    const Step steps[] = {
        {"Edit1", WizardPage::Input, WizardPage::Visual},
        {"ComboLabel", WizardPage::Visual, WizardPage::Single},
        {"AZButtonBack", WizardPage::Single, WizardPage::Visual},  // a focused button is the one pressed
        {"RadioSingle", WizardPage::Visual, WizardPage::Single},
        {"AZButtonNext", WizardPage::Single, WizardPage::Balloon},
        {"CheckListBox1", WizardPage::Balloon, WizardPage::Balloon},
    };
    for (const Step& s : steps) {
        ASSERT_EQ(window.CurrentPage(), s.before) << s.focus;
        auto* w = Control<QWidget>(s.focus);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(window.CurrentPage(), s.after) << s.focus;
    }
    window.AZButtonNextClick();
    QTest::keyClick(Control<QWidget>("Memo1"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.proposedName.isEmpty()) << "a new line of the description";
    QTest::keyClick(Control<QWidget>("EditTitle"), Qt::Key_Return);
    EXPECT_FALSE(dialogs.proposedName.isEmpty()) << "Create KML file asks where to write";
}

TEST_F(Wizard, ChartButtonsNeedTheAttributeTable) {
    for (const char* button : {"SpeedButton6", "SpeedButton7"}) Click(button);
    EXPECT_EQ(messages.errors, (std::vector<std::string>(2, "Select Input File")));
    Load("pyshp/blockgroups");
    fs::remove(dir / "blockgroups.dbf");
    messages.errors.clear();
    for (const char* button : {"SpeedButton6", "SpeedButton7"}) Click(button);
    EXPECT_EQ(messages.errors, (std::vector<std::string>(2, "Attributes Table Not Found!")));
    EXPECT_EQ(Control<QAbstractButton>("SpeedButton6")->toolTip(), "Histogram");
    EXPECT_EQ(Control<QAbstractButton>("SpeedButton7")->toolTip(), "Scatter Plot");
}

TEST_F(Wizard, ControlsFollowTheirRules) {
    Load("us-atlas/states");
    EXPECT_FALSE(Control<QComboBox>("ComboUTMZones")->isEnabled());
    Click("RadioButton2");
    EXPECT_TRUE(Control<QComboBox>("ComboUTMZones")->isEnabled());
    EXPECT_TRUE(Control<QComboBox>("ComboHemis")->isEnabled());
    EXPECT_EQ(Control<QComboBox>("ComboUTMZones")->currentText(), "Zone 12");

    auto* rollOverLabels = Control<QRadioButton>("RadioRollOver");
    auto* centroid = Control<QCheckBox>("CheckCentroid");
    EXPECT_FALSE(rollOverLabels->isEnabled());
    EXPECT_TRUE(centroid->isEnabled());
    Click("CheckOverEffect");
    EXPECT_TRUE(rollOverLabels->isEnabled());
    EXPECT_TRUE(centroid->isChecked());  // polygons show the effect at their centroid
    EXPECT_FALSE(centroid->isEnabled());
    rollOverLabels->click();
    Click("CheckOverEffect");
    EXPECT_TRUE(Control<QRadioButton>("RadioNever")->isChecked());

    auto* extrude = Control<QCheckBox>("CheckExtrude");
    auto* constant = Control<QLineEdit>("EditExtrude");
    EXPECT_FALSE(constant->isEnabled());
    extrude->click();
    EXPECT_FALSE(constant->isEnabled());
    EXPECT_TRUE(Control<QComboBox>("ComboExtrude")->isEnabled());  // "Field Value" is the default
    Click("RadioExtrude2");
    EXPECT_TRUE(constant->isEnabled());
    EXPECT_FALSE(Control<QLineEdit>("EditHeightFactor")->isEnabled());

    auto* altitude = Control<QComboBox>("ComboAltitude");
    altitude->setCurrentIndex(1);
    EXPECT_TRUE(Control<QCheckBox>("CheckTessellate")->isHidden());
    altitude->setCurrentIndex(0);
    EXPECT_FALSE(Control<QCheckBox>("CheckTessellate")->isHidden());
}

TEST_F(Wizard, ThreeDChecksComeInTheirOrder) {
    Load("pyshp/blockgroups");
    Click("CheckExtrude");
    EXPECT_FALSE(window.ValidateSave());
    EXPECT_EQ(messages.errors.back(), "Altitude mode must be \"Relative to Ground\" or \"Absolute\" for 3D");
    Control<QComboBox>("ComboAltitude")->setCurrentIndex(2);
    EXPECT_FALSE(window.ValidateSave());
    EXPECT_EQ(messages.errors.back(), "Select a Field for 3D values");
    Control<QComboBox>("ComboExtrude")->setCurrentIndex(0);
    Control<QLineEdit>("EditHeightFactor")->setText("0");
    EXPECT_FALSE(window.ValidateSave());
    EXPECT_EQ(messages.errors.back(), "Height Factor must be >0");
    Control<QLineEdit>("EditHeightFactor")->setText("1,5");
    EXPECT_TRUE(window.ValidateSave());
    Click("RadioExtrude2");
    EXPECT_FALSE(window.ValidateSave());
    EXPECT_EQ(messages.errors.back(), "Input a value >0 for 3D");
    EXPECT_EQ(messages.errors.size(), 4u);
}

TEST_F(Wizard, CreatingWritesWhatTheConverterWrites) {
    const QString input = Load("us-atlas/states");
    auto* balloon = Control<QListWidget>("CheckListBox1");
    balloon->item(1)->setCheckState(Qt::Checked);
    Click("CheckOverEffect");
    Click("CheckData");
    dialogs.saveAs = QString::fromStdString((dir / "wizard.kml").string());
    ASSERT_TRUE(window.CreateKml(true));
    EXPECT_EQ(dialogs.proposedName.toStdString(), (dir / "states.kml").string());
    EXPECT_EQ(dialogs.opened, std::vector<QString>{dialogs.saveAs});
    EXPECT_TRUE(messages.errors.empty());
    // The panel stays with what was written; its path opens the folder, its last link the options.
    auto* summary = Control<QLabel>("LabelSummary");
    EXPECT_FALSE(Control<QWidget>("Panel3")->isHidden());
    EXPECT_FALSE(summary->isHidden());
    EXPECT_TRUE(summary->text().startsWith(QStringLiteral("Wrote 56 placemarks to <a href=\"file://"))) << summary->text().toStdString();
    const QString folder = QString::fromStdString(dir.Path().string());
    emit summary->linkActivated(QUrl::fromLocalFile(folder).toString());
    EXPECT_EQ(dialogs.opened.back(), folder);
    emit summary->linkActivated(QStringLiteral("#options"));
    EXPECT_TRUE(Control<QWidget>("Panel3")->isHidden());

    const std::string cli = std::string("'") + TESSALY_CONVERT + "' '" + input.toStdString() + "' -o '" +
                            (dir / "cli.kml").string() + "' --balloon name --rollover --centroid --data -q";
    ASSERT_EQ(test::RunCommand(cli).status, 0);
    EXPECT_EQ(ReadText(dir / "wizard.kml"), ReadText(dir / "cli.kml"));
    EXPECT_TRUE(test::ValidKml(dir / "wizard.kml"));
}

TEST_F(Wizard, TheTimeGroupOffersDateFieldsAndTheSavePageStatesTheirRange) {
    Load("us-atlas/states");
    EXPECT_EQ(Control<QComboBox>("ComboTime")->count(), 1);  // "(none)": no field holds times
    Load("shapefile-js/date-property");
    auto* time = Control<QComboBox>("ComboTime");
    ASSERT_EQ(time->count(), 2);
    EXPECT_EQ(time->currentText(), "(none)");
    time->setCurrentIndex(1);
    for (int page = 0; page < 4; ++page) window.AZButtonNextClick();
    ASSERT_EQ(window.CurrentPage(), WizardPage::Save);
    EXPECT_EQ(Control<QLabel>("LabelTimeRange")->text(), "Time: 2013-01-02 to 2013-02-02");
    const ConversionChoices c = window.Choices();
    EXPECT_EQ(c.timeField, "date");
    EXPECT_FALSE(c.timeSpan);
    dialogs.saveAs = QString::fromStdString((dir / "dates.kml").string());
    ASSERT_TRUE(window.CreateKml(false));
    EXPECT_NE(ReadText(dir / "dates.kml").find("<TimeStamp><when>2013-01-02</when></TimeStamp>"), std::string::npos);
}

TEST_F(Wizard, AKmzNameWritesAnArchiveThatCreateAndOpenOpens) {
    Load("shapefile-js/polygons");
    EXPECT_EQ(SaveFilters(), (QStringList{"Google Earth (*.kml)", "Google Earth KMZ archive (*.kmz)"}));
    dialogs.saveAs = QString::fromStdString((dir / "polygons.kmz").string());
    ASSERT_TRUE(window.CreateKml(true));
    EXPECT_EQ(dialogs.proposedName.toStdString(), (dir / "polygons.kml").string());
    EXPECT_EQ(dialogs.opened, std::vector<QString>{dialogs.saveAs});
    const auto bytes = test::ReadBytes(dir / "polygons.kmz");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "PK\x03\x04");
    EXPECT_TRUE(test::ValidKml(dir / "polygons.kmz"));
}

TEST(PanelMessages, TheStepIsFollowedByTheWrittenPercentage) {
    QLabel label;
    RecordedMessages outer;
    PanelMessages panel(outer, &label);
    panel.Progress("Creating KML file...");
    EXPECT_EQ(label.text(), QStringLiteral("Creating KML file..."));
    panel.WritingProgress(1, 4);
    EXPECT_EQ(label.text(), QStringLiteral("Creating KML file... 25%"));
    panel.WritingProgress(4, 4);
    EXPECT_EQ(label.text(), QStringLiteral("Creating KML file... 100%"));
    panel.Information("a note");
    EXPECT_TRUE(outer.information.empty());
    EXPECT_EQ(panel.Notes(), std::vector<std::string>{"a note"});
}

TEST_F(Wizard, AFailedRunSaysWhyAndKeepsTheEarlierFile) {
    const QString input = Load("us-atlas/states");
    auto bytes = test::ReadBytes(input.toStdString());
    bytes.resize(bytes.size() / 2);
    test::WriteBytes(input.toStdString(), bytes);
    const fs::path earlier = dir / "earlier.kml";
    test::WriteBytes(earlier, {'k', 'e', 'e', 'p'});
    dialogs.saveAs = QString::fromStdString(earlier.string());
    EXPECT_FALSE(window.CreateKml(true));
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Could not create " + earlier.string() + ": ", 0), 0u) << messages.errors[0];
    EXPECT_EQ(ReadText(earlier), "keep");
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_TRUE(Control<QPushButton>("AZButton5")->isEnabled());
    EXPECT_TRUE(Control<QWidget>("Panel3")->isHidden());
}

TEST(SettingsFile, FourLinesThatReadBack) {
    const SettingsFile s{"AB12-CD34-EF56", {107, 176}, {-20, 5}, {520, 415}};
    const std::string text = FormatSettings(s);
    EXPECT_EQ(text, "AB12-CD34-EF56\r\n107 176\r\n-20 5\r\n520 415\r\n");
    const auto back = ParseSettings(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->InstallId, s.InstallId);
    EXPECT_EQ(back->PreviewPosition.x, -20);
    EXPECT_EQ(back->PreviewSize.y, 415);
    EXPECT_EQ(ParseSettings("\r\n1 2 extra\r\n3 4\r\n5 6\r\n")->InstallId, "");
    EXPECT_FALSE(ParseSettings("id\r\n1 2\r\n").has_value());
    EXPECT_FALSE(ParseSettings("id\r\nx y\r\n1 2\r\n3 4\r\n").has_value());
}

TEST(SettingsFile, FirstUsePlacement) {
    EXPECT_EQ(FirstUsePlacement(1024, 768).x, 107);
    EXPECT_EQ(FirstUsePlacement(1024, 768).y, 176);
    EXPECT_EQ(FirstUsePlacement(800, 600).x, 1);
    EXPECT_EQ(FirstUsePlacement(1024, 400).y, 0);
}

TEST(SettingsFile, InstallIdentifiers) {
    std::mt19937 random(7);
    const std::string id = NewInstallId(random);
    ASSERT_EQ(id.size(), 14u);
    EXPECT_EQ(id[4], '-');
    EXPECT_EQ(id[9], '-');
    for (std::size_t i : {0u, 3u, 5u, 8u, 10u, 13u}) EXPECT_TRUE(std::isupper(id[i]) || std::isdigit(id[i])) << id;
    EXPECT_NE(NewInstallId(random), id);
}

TEST(SettingsFile, WrittenAtCloseAndReadAtTheNextStart) {
    TempDir dir;
    const QString path = QString::fromStdString((dir / "tessaly.ini").string());
    RecordedMessages messages;
    ScriptedDialogs dialogs;
    SettingsFile first;
    {
        TForm1 window(messages, dialogs);
        first = RestoreWindow(window, path);
        window.move(33, 44);
        ASSERT_TRUE(SaveWindow(window, first, path));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], "33 44");
    TForm1 again(messages, dialogs);
    const SettingsFile second = RestoreWindow(again, path);
    EXPECT_EQ(second.InstallId, first.InstallId);
    EXPECT_EQ(again.pos(), QPoint(33, 44));
}

}  // namespace
}  // namespace tessaly
