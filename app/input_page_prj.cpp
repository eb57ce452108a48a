#include "app/input_page_prj.h"

#include "input/proj_context.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <filesystem>

namespace tessaly {

InputPagePrj::InputPagePrj(const InputPageControls& controls)
    : RadioButtonPrj(new QRadioButton(controls.units)), LabelPrj(new QLabel(controls.page)), c_(controls) {
    RadioButtonPrj->setObjectName(QStringLiteral("RadioButtonPrj"));
    RadioButtonPrj->setGeometry(10, 116, 365, 20);  // below Label7
    RadioButtonPrj->hide();
    LabelPrj->setObjectName(QStringLiteral("LabelPrj"));
    LabelPrj->setGeometry(12, 71, 380, 28);
    LabelPrj->setWordWrap(true);
    LabelPrj->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void InputPagePrj::ShowText(const std::string& text) {
    const QString shown = QStringLiteral("Coordinate System: ") + QString::fromStdString(text);
    LabelPrj->setText(shown);
    LabelPrj->setToolTip(shown);
}

void InputPagePrj::DropThirdChoice() {
    if (RadioButtonPrj->isChecked()) c_.geographic->setChecked(true);
    RadioButtonPrj->hide();
    throughProj_.reset();
}

void InputPagePrj::Load(const std::string& shapefilePath) {
    const std::string prj = PrjPathOf(shapefilePath);
    InputCoordinateSystem system;
    try {
        if (prj.empty()) throw CoordinateSystemError("no .prj; choose the datum and units below");
        system = ReadPrjFile(prj);
    } catch (const CoordinateSystemError& e) {
        // The third choice belonged to the previous input; the others stay as they were.
        DropThirdChoice();
        std::string why = e.what();
        if (!prj.empty()) {
            if (why.rfind(prj + ": ", 0) == 0) why.erase(0, prj.size() + 2);
            why = std::filesystem::path(prj).filename().string() + " cannot be read: " + why;
        }
        ShowText(why);
        UpdateControls();
        return;
    }
    if (system.datum > 0) c_.datum->setCurrentIndex(system.datum - 1);
    switch (system.kind) {
        case InputSystemKind::Geographic:
            DropThirdChoice();
            c_.geographic->setChecked(true);
            break;
        case InputSystemKind::Utm:
            DropThirdChoice();
            c_.utm->setChecked(true);
            c_.zones->setCurrentIndex(system.utmZone - 1);
            c_.hemisphere->setCurrentIndex(system.north ? 0 : 1);
            break;
        case InputSystemKind::ThroughProj:
            throughProj_ = system;
            RadioButtonPrj->setText(QStringLiteral(" ") + QString::fromStdString(system.name) + QStringLiteral(" (") +
                                    QString::fromStdString(system.unitName) + QStringLiteral(")"));
            RadioButtonPrj->show();
            RadioButtonPrj->setChecked(true);
            break;
    }
    ShowText(CoordinateSystemText(system));
    UpdateControls();
}

void InputPagePrj::UpdateControls() {
    c_.datum->setEnabled(!(throughProj_ && RadioButtonPrj->isChecked() && throughProj_->datum == 0));
}

void InputPagePrj::Apply(ConversionChoices& choices) const {
    if (!throughProj_ || !RadioButtonPrj->isChecked()) return;
    choices.geographic = true;
    choices.projectedDefinition = throughProj_->definition;
    choices.datum = throughProj_->datum == 0 ? 0 : c_.datum->currentIndex() + 1;
}

}  // namespace tessaly
