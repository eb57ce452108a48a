#pragma once
// The Input page's coordinate system from the input's ".prj": it sets the datum,
// units, zone and hemisphere, offers a projection the catalogue cannot convert as
// a third units choice, and says in LabelPrj what will be used.

#include "engine/conversion_choices.h"
#include "input/prj_reader.h"

#include <optional>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace tessaly {

struct InputPageControls {
    QWidget* page;
    QGroupBox* units;  // GroupBox2
    QComboBox* datum;  // ComboDatum
    QRadioButton* geographic;  // RadioButton1
    QRadioButton* utm;         // RadioButton2
    QComboBox* zones;          // ComboUTMZones
    QComboBox* hemisphere;     // ComboHemis
};

class InputPagePrj {
public:
    // Adds RadioButtonPrj to the units group and LabelPrj under LabelEntity.
    explicit InputPagePrj(const InputPageControls& controls);

    // After a shapefile is loaded. A ".prj" that cannot be read leaves the choices as
    // they were and says why in LabelPrj.
    void Load(const std::string& shapefilePath);
    // The datum list is disabled while PROJ does the whole transformation.
    void UpdateControls();
    // With the third choice selected, the input is converted from the ".prj"'s system.
    void Apply(ConversionChoices& choices) const;

    QRadioButton* RadioButtonPrj;
    QLabel* LabelPrj;

private:
    void ShowText(const std::string& text);
    void DropThirdChoice();

    InputPageControls c_;
    std::optional<InputCoordinateSystem> throughProj_;  // the third choice, when offered
};

}  // namespace tessaly
