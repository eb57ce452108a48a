// The Input page set from the input's .prj, and documents equal to the converter's.

#include "app/main_window.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

class NoDialogs : public WizardDialogs {
public:
    QString OpenShapefile(QWidget*) override { return {}; }
    QString SaveKml(QWidget*, const QString&) override { return saveAs; }
    QColor ChooseColour(QWidget*, const QColor&) override { return {}; }
    void OpenDocument(const QString&) override {}
    QString saveAs;
};

class InputPrj : public ::testing::Test {
protected:
    template <typename W>
    W* Control(const char* name) {
        W* w = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    fs::path Load(const std::string& base) {
        const fs::path shp = dir.CopyShared(base);
        EXPECT_TRUE(window.LoadInputFile(QString::fromStdString(shp.string())));
        return shp;
    }
    std::string Prj() { return Control<QLabel>("LabelPrj")->text().toStdString(); }
    // The wizard's document and the converter's, both with the defaults and the .prj.
    void ExpectSameDocumentAsConverter(const fs::path& shp) {
        dialogs.saveAs = QString::fromStdString((dir / "wizard.kml").string());
        ASSERT_TRUE(window.CreateKml(false)) << (messages.errors.empty() ? "" : messages.errors.back());
        const auto r = test::RunCommand(std::string("'") + TESSALY_CONVERT + "' '" + shp.string() + "' -q -o '" +
                                        (dir / "cli.kml").string() + "'");
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(ReadText(dir / "wizard.kml"), ReadText(dir / "cli.kml"));
    }

    test::TempDir dir;
    test::RecordedMessages messages;
    NoDialogs dialogs;
    TForm1 window{messages, dialogs};
};

TEST_F(InputPrj, UtmPrjSetsDatumZoneAndHemisphere) {
    const fs::path shp = Load("projected/states_nad27_utm16n");
    EXPECT_TRUE(Control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(Control<QComboBox>("ComboUTMZones")->currentIndex(), 15);
    EXPECT_EQ(Control<QComboBox>("ComboHemis")->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>("ComboDatum")->currentIndex(), 132);
    EXPECT_TRUE(Control<QComboBox>("ComboUTMZones")->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>("RadioButtonPrj")->isHidden());
    EXPECT_EQ(Prj(), "Coordinate System: UTM zone 16N, North American 1927 MEAN FOR CONUS (datum 133), from "
                     "states_nad27_utm16n.prj");
    ExpectSameDocumentAsConverter(shp);

    // A .prj that cannot be read leaves the choices and says why.
    const fs::path broken = dir.CopyShared("us-atlas/states");
    std::ofstream(fs::path(broken).replace_extension(".prj")) << "GEOGCS[";
    ASSERT_TRUE(window.LoadInputFile(QString::fromStdString(broken.string())));
    EXPECT_TRUE(Control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(Control<QComboBox>("ComboUTMZones")->currentIndex(), 15);
    EXPECT_EQ(Prj().rfind("Coordinate System: states.prj cannot be read: not a coordinate system PROJ can read", 0), 0u)
        << Prj();
    EXPECT_TRUE(messages.errors.empty());
}

TEST_F(InputPrj, OtherProjectionsAreTheThirdChoice) {
    const fs::path shp = Load("projected/states_conus_albers");
    auto* third = Control<QRadioButton>("RadioButtonPrj");
    EXPECT_FALSE(third->isHidden());
    EXPECT_TRUE(third->isChecked());
    EXPECT_EQ(third->text().toStdString(), " NAD83 / Conus Albers (metre)");
    EXPECT_EQ(Control<QComboBox>("ComboDatum")->currentIndex(), 139);
    EXPECT_TRUE(Control<QComboBox>("ComboDatum")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>("ComboUTMZones")->isEnabled());
    EXPECT_EQ(Prj(), "Coordinate System: NAD83 / Conus Albers through PROJ, datum 140, from states_conus_albers.prj");
    ExpectSameDocumentAsConverter(shp);

    // A datum the catalogue does not hold: PROJ shifts it, and the datum list is off.
    const fs::path etrs = dir.CopyShared("us-atlas/states");
    std::ofstream(fs::path(etrs).replace_extension(".prj")) << "EPSG:4258";
    ASSERT_TRUE(window.LoadInputFile(QString::fromStdString(etrs.string())));
    EXPECT_TRUE(third->isChecked());
    EXPECT_FALSE(Control<QComboBox>("ComboDatum")->isEnabled());
    Control<QRadioButton>("RadioButton1")->click();
    EXPECT_TRUE(Control<QComboBox>("ComboDatum")->isEnabled());

    // An input without a .prj takes the third choice away.
    Control<QRadioButton>("RadioButtonPrj")->click();
    Load("projected/states_wgs84_utm10n_noprj");
    EXPECT_TRUE(third->isHidden());
    EXPECT_TRUE(Control<QRadioButton>("RadioButton1")->isChecked());
}

TEST_F(InputPrj, ProjectedNumbersTakenForDegreesAreAnErrorAndTheEarlierFileStays) {
    Load("projected/states_wgs84_utm10n_noprj");
    EXPECT_EQ(Prj(), "Coordinate System: no .prj; choose the datum and units below");
    const fs::path earlier = dir / "earlier.kml";
    std::ofstream(earlier) << "keep";
    dialogs.saveAs = QString::fromStdString(earlier.string());
    EXPECT_FALSE(window.CreateKml(false));
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_NE(messages.errors[0].find("record 1: X 562825.0845451345, Y 4106976.8271974004 cannot be longitude and "
                                      "latitude: the data look projected"),
              std::string::npos)
        << messages.errors[0];
    EXPECT_EQ(ReadText(earlier), "keep");
}

}  // namespace
}  // namespace tessaly
