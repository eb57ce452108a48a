#include "symbology/gui/symbol_dialog.h"

#include "app/colour_swatch.h"
#include "app/palette_picture.h"
#include "input/shape_type.h"
#include "symbology/gui/icon_picker.h"
#include "widgets/az_button.h"
#include "widgets/named_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QTabWidget>

#include <algorithm>
#include <iterator>

namespace tessaly {

namespace {

// Scales offered, in tenths; there is no 1.4.
constexpr int kScales[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19, 20};

// A picture that answers a click.
class ClickablePicture : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> Clicked;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && Clicked) Clicked();
    }
};

// Lists take the window colour when enabled, the button face when not.
void SetComboEnabled(QComboBox* c, bool enabled) {
    c->setEnabled(enabled);
    QPalette p = c->palette();
    p.setColor(QPalette::Base, QApplication::palette().color(enabled ? QPalette::Base : QPalette::Button));
    c->setPalette(p);
}

QSlider* OpacityBar(QWidget* parent, const char* name, int value) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 100);
    s->setTickInterval(10);
    s->setTickPosition(QSlider::TicksBelow);
    s->setGeometry(10, 60, 200, 30);
    s->setValue(value);
    return s;
}


QString ScaleText(int tenths) {
    return tenths % 10 == 0 ? QString::number(tenths / 10) : QString::number(tenths / 10) + "." + QString::number(tenths % 10);
}

}  // namespace

TfrSymbol::TfrSymbol(QWidget* owner, std::uint8_t shapeClass, const TItemSym& item, const QImage& palette,
                     bool rollOverEffect, ColourChooser chooseColour)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      palette_(palette),
      icon_(item.IconIndex),
      rollOverIcon_(item.RollOverIcon),
      iconScale_(item.IconScale) {
    setObjectName(QStringLiteral("TfrSymbol"));
    setWindowTitle(QStringLiteral("Properties"));
    setFixedSize(250, 220);
    PageControl1 = Named(new QTabWidget(this), "PageControl1", QRect(6, 6, 238, 170));
    auto* iconTab = new QWidget;
    auto* lineTab = new QWidget;
    auto* fillTab = new QWidget;
    PageControl1->addTab(iconTab, QStringLiteral("Icon"));
    PageControl1->addTab(lineTab, QStringLiteral("Line"));
    PageControl1->addTab(fillTab, QStringLiteral("Fill"));

    auto swatch = [&](QWidget* tab, const char* name, Colour c) {
        auto* s = Named(new ColourSwatch(tab, c), name, QRect(10, 10, 60, 30));
        s->Choose = chooseColour;
        return s;
    };
    IconColor = swatch(iconTab, "IconColor", item.IconColor);
    IconOpacity = OpacityBar(iconTab, "IconOpacity", item.IconOpacity);
    Label7 = Named(new QLabel(iconTab), "Label7", QRect(10, 45, 100, 16));
    ComboIconScale = Named(new QComboBox(iconTab), "ComboIconScale", QRect(10, 100, 60, 22));
    for (int s : kScales) ComboIconScale->addItem(ScaleText(s));
    const int* scale = std::find(std::begin(kScales), std::end(kScales), item.IconScale);
    ComboIconScale->setCurrentIndex(scale == std::end(kScales) ? -1 : static_cast<int>(scale - std::begin(kScales)));
    Named(new QLabel(QStringLiteral("Scale"), iconTab), "LabelScale", QRect(76, 103, 60, 16));
    auto* picture1 = Named(new ClickablePicture(iconTab), "Image1", QRect(100, 12, 26, 26));
    auto* picture2 = Named(new ClickablePicture(iconTab), "Image2", QRect(140, 12, 26, 26));
    picture2->setToolTip(QStringLiteral("Roll over Icon"));
    picture1->Clicked = [this] { ChooseIcon(icon_); };
    picture2->Clicked = [this] { ChooseIcon(rollOverIcon_); };
    Image1 = picture1;
    Image2 = picture2;
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Show Label"), iconTab), "CheckBox1", QRect(100, 100, 100, 20));
    CheckBox1->setChecked(item.ShowLabel);
    CheckBox1->setVisible(false);  // the label flag is carried but not offered

    LineColor = swatch(lineTab, "LineColor", item.LineColor);
    LineOpacity = OpacityBar(lineTab, "LineOpacity", item.LineOpacity);
    Label3 = Named(new QLabel(lineTab), "Label3", QRect(10, 45, 100, 16));
    LineWidth = Named(new QComboBox(lineTab), "LineWidth", QRect(10, 100, 60, 22));
    for (int w = 0; w <= 10; ++w) LineWidth->addItem(QString::number(w));
    Named(new QLabel(QStringLiteral("Width"), lineTab), "LabelWidth", QRect(76, 103, 60, 16));
    LineWidth->setCurrentIndex(std::min<int>(item.LineWidth, 10));

    FillColor = swatch(fillTab, "FillColor", item.FillColor);
    FillOpacity = OpacityBar(fillTab, "FillOpacity", item.FillOpacity);
    Label5 = Named(new QLabel(fillTab), "Label5", QRect(10, 45, 100, 16));
    ComboFill = Named(new QComboBox(fillTab), "ComboFill", QRect(10, 100, 120, 22));
    ComboFill->addItems({QStringLiteral("Filled"), QStringLiteral("Outlined"), QStringLiteral("Filled+Outlined")});
    ComboFill->setCurrentIndex(item.FillMode >= 1 && item.FillMode <= 3 ? item.FillMode - 1 : 2);

    // Icons are drawn for points and for the centroids of polygons.
    const bool icons = shapeClass == kPointClass || shapeClass == kPolygonClass;
    const bool lines = shapeClass == kLineClass || shapeClass == kPolygonClass;
    const bool fills = shapeClass == kPolygonClass;
    for (QWidget* w : {static_cast<QWidget*>(IconColor), static_cast<QWidget*>(IconOpacity),
                       static_cast<QWidget*>(Label7), static_cast<QWidget*>(CheckBox1)})
        w->setEnabled(icons);
    SetComboEnabled(ComboIconScale, icons);
    Image1->setVisible(icons);
    Image2->setVisible(icons && rollOverEffect);
    for (QWidget* w : {static_cast<QWidget*>(LineColor), static_cast<QWidget*>(LineOpacity), static_cast<QWidget*>(Label3)})
        w->setEnabled(lines);
    SetComboEnabled(LineWidth, lines);
    for (QWidget* w : {static_cast<QWidget*>(FillColor), static_cast<QWidget*>(FillOpacity),
                       static_cast<QWidget*>(Label5), static_cast<QWidget*>(ComboFill)})
        w->setEnabled(fills);
    PageControl1->setCurrentIndex(shapeClass == kLineClass ? 1 : shapeClass == kPolygonClass ? 2 : 0);

    DrawIcons();
    ShowOpacities();
    for (QSlider* s : {IconOpacity, LineOpacity, FillOpacity})
        connect(s, &QSlider::valueChanged, this, [this] { ShowOpacities(); });

    auto* accept = Named(new TAZButton(QStringLiteral("Accept"), this), "AZButton1", QRect(70, 185, 80, 26));
    auto* cancel = Named(new TAZButton(QStringLiteral("Cancel"), this), "AZButton2", QRect(160, 185, 80, 26));
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrSymbol::ShowOpacities() {
    Label7->setText(QStringLiteral("Opacity ") + QString::number(IconOpacity->value()));
    Label3->setText(QStringLiteral("Opacity ") + QString::number(LineOpacity->value()));
    Label5->setText(QStringLiteral("Opacity ") + QString::number(FillOpacity->value()));
}

void TfrSymbol::DrawIcons() {
    for (auto [label, icon] : {std::pair{Image1, icon_}, std::pair{Image2, rollOverIcon_}}) {
        QPixmap picture(26, 26);
        picture.fill(QApplication::palette().color(QPalette::Button));
        if (icon >= 1 && icon <= kPaletteIconCount) {
            QPainter p(&picture);
            p.drawImage(QRect(0, 0, 26, 26), palette_, PaletteCell(icon));
        }
        label->setPixmap(picture);
    }
}

void TfrSymbol::ChooseIcon(int& icon) {
    if (PickIcon(this, icon, palette_)) DrawIcons();
}

void TfrSymbol::WriteBack(TItemSym& item) const {
    item.IconIndex = icon_;
    item.RollOverIcon = rollOverIcon_;
    item.IconColor = IconColor->Value();
    item.IconOpacity = static_cast<std::uint8_t>(IconOpacity->value());
    item.ShowLabel = CheckBox1->isChecked();
    // A scale the list does not offer (set elsewhere) stays as it was.
    const int scale = ComboIconScale->currentIndex();
    item.IconScale = scale >= 0 ? static_cast<std::uint8_t>(kScales[scale]) : iconScale_;
    item.LineColor = LineColor->Value();
    item.LineOpacity = static_cast<std::uint8_t>(LineOpacity->value());
    item.LineWidth = static_cast<std::uint8_t>(std::max(LineWidth->currentIndex(), 0));
    item.FillColor = FillColor->Value();
    item.FillOpacity = static_cast<std::uint8_t>(FillOpacity->value());
    item.FillMode = static_cast<std::uint8_t>(ComboFill->currentIndex() + 1);
}

bool EditSymbol(QWidget* owner, std::uint8_t shapeClass, TItemSym& item, const QImage& palette,
                bool rollOverEffect, ColourChooser chooseColour) {
    TfrSymbol dialog(owner, shapeClass, item, palette, rollOverEffect, std::move(chooseColour));
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.WriteBack(item);
    return true;
}

}  // namespace tessaly
