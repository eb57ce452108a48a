// The symbology pages' commands: the symbol dialog on the single symbol and on a
// class, the to-all commands of the Options menu, the ramp dialogs and the
// classification method.

#include "app/main_window.h"

#include "input/shape_type.h"
#include "symbology/classification.h"
#include "widgets/az_button.h"
#include "widgets/named_widget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>

namespace tessaly {

void TForm1::BuildSymbologyCommands(QWidget* page) {
    LabelMethod = new QLabel(QStringLiteral("Method"), page);
    LabelMethod->setObjectName(QStringLiteral("LabelMethod"));
    LabelMethod->setGeometry(12, 66, 90, 16);
    ComboMethod = new QComboBox(page);
    ComboMethod->setObjectName(QStringLiteral("ComboMethod"));
    ComboMethod->setGeometry(100, 62, 180, 22);
    // In the order of ClassMethod.
    ComboMethod->addItems({QStringLiteral("Equal Interval"), QStringLiteral("Quantile"),
                           QStringLiteral("Natural Breaks (Jenks)")});
    ComboMethod->setCurrentIndex(0);

    auto button = [page](const char* name, const QString& text, const QRect& g) {
        return Named(new TAZButton(text, page), name, g);
    };
    AZOptions = button("AZOptions", QStringLiteral("Options"), QRect(140, 300, 80, 24));
    RampButton = button("RampButton", QStringLiteral("Color Ramps"), QRect(230, 300, 90, 24));
    RampGButton = button("RampGButton", QStringLiteral("Ramps"), QRect(230, 300, 90, 24));

    PopupMenu1 = new QMenu(QStringLiteral("Options"), this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto entry = [this](const char* name, const QString& caption, auto handler) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    entry("OpacitytoAll1", QStringLiteral("Change Opacity to All"), [this] {
        const QString answer =
            symbologyDialogs_->AskText(this, QStringLiteral("Change Opacity to All"), QStringLiteral("Opacity (0-100)"));
        if (ApplyOpacityToAll(engine_.Symbols, engine_.InputShapeClass, answer.toStdString())) SymbologyChanged();
    });
    ChangeIcontoAll1 = entry("ChangeIcontoAll1", QStringLiteral("Change Icon to All"), [this] {
        if (engine_.Symbols.Count() == 0) return;
        int icon = engine_.Symbols.Item(1).IconIndex;
        if (symbologyDialogs_->PickIcon(this, icon) && ApplyIconToAll(engine_.Symbols, icon)) SymbologyChanged();
    });
    LineWidthtoAll1 = entry("LineWidthtoAll1", QStringLiteral("Change Line Width to All"), [this] {
        const QString answer =
            symbologyDialogs_->AskText(this, QStringLiteral("Change LineWidth to All"), QStringLiteral("Width (0-10)"));
        if (ApplyLineWidthToAll(engine_.Symbols, answer.toStdString())) SymbologyChanged();
    });
    polygonEntries_[0] = entry("ChangeLineColortoAll1", QStringLiteral("Change Line Color to All"), [this] {
        const QColor c = dialogs_.ChooseColour(this, QColor(255, 0, 0));
        if (!c.isValid()) return;
        engine_.Symbols.SetLineColorToAll(static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 |
                                          static_cast<Colour>(c.blue()) << 16);
        SymbologyChanged();
    });
    polygonEntries_[1] = entry("SameLineFillColor", QStringLiteral("Line Color same as Fill to All"), [this] {
        engine_.Symbols.LineColorFromFillToAll();
        SymbologyChanged();
    });
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
    const char* fillNames[] = {"MenuSetFill1", "MenuSetFill2", "MenuSetFill3"};
    const QString fillCaptions[] = {QStringLiteral("Set All Filled"), QStringLiteral("Set All Outlined"),
                                    QStringLiteral("Set All Filled+Outlined")};
    for (std::uint8_t mode = 1; mode <= 3; ++mode)
        polygonEntries_[1 + mode] = entry(fillNames[mode - 1], fillCaptions[mode - 1], [this, mode] {
            engine_.Symbols.SetFillModeToAll(mode);
            SymbologyChanged();
        });

    connect(AZOptions, &QPushButton::clicked, this, &TForm1::AZOptionsClick);
    connect(RampButton, &QPushButton::clicked, this, &TForm1::RampButtonClick);
    connect(RampGButton, &QPushButton::clicked, this, &TForm1::RampGButtonClick);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, &TForm1::StringGrid1DblClick);
    // A new method cuts the classes again from the values.
    connect(ComboMethod, &QComboBox::activated, this, [this] { RebuildGraduated(true, true); });
    EnableSymbologyCommands(false);
}

void TForm1::UpdateSymbologyCommands() {
    const bool graduated = RadioGraduate->isChecked();
    RampGButton->setVisible(graduated);
    RampButton->setVisible(!graduated);
    LabelMethod->setVisible(graduated);
    ComboMethod->setVisible(graduated);
    // The method's row pushes the classes down.
    StringGrid1->setGeometry(8, graduated ? 90 : 62, 385, graduated ? 206 : 234);
    const std::uint8_t shape = engine_.InputShapeClass;
    ChangeIcontoAll1->setVisible(shape == kPointClass);
    LineWidthtoAll1->setVisible(shape == kLineClass || shape == kPolygonClass);
    for (QAction* a : polygonEntries_) a->setVisible(shape == kPolygonClass);
}

void TForm1::EnableSymbologyCommands(bool enabled) {
    for (TAZButton* b : {AZOptions, RampButton, RampGButton}) b->setEnabled(enabled);
}

void TForm1::SymbologyChanged() {
    DrawSingleSymbol();
    FillClassGrid();
    RefreshPreview();
}

void TForm1::Image1Click() {
    if (symbologyDialogs_->EditSymbol(this, engine_.InputShapeClass, engine_.Symbols.DefaultSymbol(),
                                      CheckOverEffect->isChecked()))
        SymbologyChanged();
}

void TForm1::StringGrid1DblClick(int row, int column) {
    if (column != 0 || row + 1 > engine_.Symbols.Count()) return;
    if (symbologyDialogs_->EditSymbol(this, engine_.InputShapeClass, engine_.Symbols.Item(row + 1),
                                      CheckOverEffect->isChecked()))
        SymbologyChanged();
}

void TForm1::AZOptionsClick() { PopupMenu1->popup(AZOptions->mapToGlobal(QPoint(0, 20))); }

void TForm1::RampButtonClick() {
    // Accepted, even unchanged: the values are collected and coloured again.
    if (symbologyDialogs_->ChooseUniqueRamp(this, engine_.Symbols.UniqueRamp)) ComboFieldChange();
}

void TForm1::RampGButtonClick() {
    if (ComboField->currentIndex() < 0) return;
    TSymbolList& s = engine_.Symbols;
    if (symbologyDialogs_->ChooseGradRamp(this, s.RampMode, s.GradRamp, s.FromColor, s.ToColor))
        RebuildGraduated(false, true);
}

}  // namespace tessaly
