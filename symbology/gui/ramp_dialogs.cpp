#include "symbology/gui/ramp_dialogs.h"

#include "app/colour_swatch.h"
#include "app/symbol_drawing.h"
#include "symbology/colour_ramps.h"
#include "widgets/az_button.h"
#include "widgets/named_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace tessaly {

namespace {

constexpr int kEntryHeight = 16;

// A swatch from (left, top) to (right, bottom), right and bottom past its last pixel.
void Swatch(QPainter& p, int left, int top, int right, int bottom, Colour c) {
    p.fillRect(QRect(left, top, right - left, bottom - top), WindowsColour(c));
}

using EntryPainter = std::function<void(QPainter&, const QRect&, int index)>;

// Draws each entry of a list, and the chosen one in the closed box, with one painter.
class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(QObject* parent, EntryPainter paint, bool fillBackground)
        : QStyledItemDelegate(parent), paint_(std::move(paint)), fill_(fillBackground) {}
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (fill_)
            p->fillRect(option.rect, option.palette.color(option.state & QStyle::State_Selected ? QPalette::Highlight
                                                                                                  : QPalette::Base));
        p->save();
        if (option.state & QStyle::State_Selected) p->setPen(option.palette.color(QPalette::HighlightedText));
        paint_(*p, option.rect, index.row());
        p->restore();
    }
    // The entries are pictures: the list is as wide as the box, whatever their texts.
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {1, kEntryHeight}; }

private:
    EntryPainter paint_;
    bool fill_;
};

class RampCombo : public QComboBox {
public:
    RampCombo(QWidget* parent, EntryPainter paint, bool fillBackground) : QComboBox(parent), paint_(paint) {
        setItemDelegate(new EntryDelegate(this, std::move(paint), fillBackground));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        p.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        if (currentIndex() >= 0) paint_(p, field, currentIndex());
    }

private:
    EntryPainter paint_;
};

Colour FromQColor(const QColor& c) {
    return static_cast<Colour>(c.red()) | static_cast<Colour>(c.green()) << 8 | static_cast<Colour>(c.blue()) << 16;
}


void AddButtons(QDialog* dialog, int top) {
    auto* accept = Named(new TAZButton(QStringLiteral("Accept"), dialog), "AZButton1", QRect(dialog->width() - 180, top, 80, 26));
    auto* cancel = Named(new TAZButton(QStringLiteral("Cancel"), dialog), "AZButton2", QRect(dialog->width() - 90, top, 80, 26));
    QObject::connect(accept, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

void DrawUniqueRampEntry(QPainter& p, const QRect& r, int ramp, const QString& name) {
    const int left = r.left(), top = r.top(), bottom = r.top() + r.height();
    // A long name is cut short before the swatches, 120 pixels in.
    p.drawText(QRect(left + 5, top + 2, 112, r.height() - 2), Qt::AlignLeft | Qt::AlignTop,
               p.fontMetrics().elidedText(name, Qt::ElideRight, 112));
    for (int i = 1; i <= 15; ++i)
        Swatch(p, left + 120 + 10 * (i - 1), top + 1, left + 130 + 10 * (i - 1), bottom - 1, UniqueRampColor(ramp, i));
}

void DrawGradRampEntry(QPainter& p, const QRect& r, const std::string& stops) {
    const int left = r.left(), top = r.top(), bottom = r.top() + r.height();
    for (int i = 1; i <= 35; ++i)
        Swatch(p, left + 8 * (i - 1), top + 1, left + 8 * i, bottom - 1, RampColor(stops, i, 35, 1));
}

void DrawCustomRamp(QPainter& p, Colour from, Colour to, int swatches) {
    for (int i = 1; i <= swatches; ++i) Swatch(p, 5 * (i - 1), 5, 5 * i, 15, InterpolateColor(i, swatches, 1, to, from));
}

TfrColorRamp::TfrColorRamp(QWidget* owner, int ramp) : QDialog(owner, kToolWindow) {
    setObjectName(QStringLiteral("TfrColorRamp"));
    setWindowTitle(QStringLiteral("Color Ramps"));
    setFixedSize(271, 80);
    const std::vector<std::string> names = UniqueRampNames();
    ComboRamp = Named(new RampCombo(this, [names](QPainter& p, const QRect& r, int i) {
                          DrawUniqueRampEntry(p, r, i + 1, QString::fromStdString(names[static_cast<std::size_t>(i)]));
                      }, true),
                      "ComboRamp", QRect(10, 10, 251, 22));
    for (const std::string& n : names) ComboRamp->addItem(QString::fromStdString(n));
    ComboRamp->setCurrentIndex(std::clamp(ramp - 1, 0, kUniqueRampCount - 1));
    AddButtons(this, 45);
}

int TfrColorRamp::Ramp() const { return ComboRamp->currentIndex() + 1; }

TfrRamp::TfrRamp(QWidget* owner, std::uint8_t mode, std::uint8_t list, Colour from, Colour to,
                 ColourChooser chooseColour)
    : QDialog(owner, kToolWindow) {
    setObjectName(QStringLiteral("TfrRamp"));
    setWindowTitle(QStringLiteral("Color Ramp"));
    setFixedSize(305, 175);
    RadioButton1 = Named(new QRadioButton(QStringLiteral("Ramp List"), this), "RadioButton1", QRect(10, 8, 100, 20));
    RadioButton2 = Named(new QRadioButton(QStringLiteral("Custom"), this), "RadioButton2", QRect(120, 8, 100, 20));
    Notebook1 = Named(new QStackedWidget(this), "Notebook1", QRect(8, 32, 291, 100));
    auto* custom = new QWidget;
    auto* lists = new QWidget;
    Notebook1->addWidget(custom);  // page 0
    Notebook1->addWidget(lists);   // page 1

    const std::vector<std::string> texts = GradRampTexts();
    ComboRamp = Named(new RampCombo(lists, [texts](QPainter& p, const QRect& r, int i) {
                          DrawGradRampEntry(p, r, texts[static_cast<std::size_t>(i)]);
                      }, false),
                      "ComboRamp", QRect(2, 10, 281, 22));
    for (const std::string& t : texts) ComboRamp->addItem(QString::fromStdString(t));

    Named(new QLabel(QStringLiteral("From Color"), custom), "Label1", QRect(2, 4, 80, 16));
    Named(new QLabel(QStringLiteral("To Color"), custom), "Label2", QRect(100, 4, 80, 16));
    Panel1 = Named(new ColourSwatch(custom, from), "Panel1", QRect(2, 22, 60, 24));
    Panel2 = Named(new ColourSwatch(custom, to), "Panel2", QRect(100, 22, 60, 24));
    for (ColourSwatch* panel : {Panel1, Panel2})
        panel->Choose = [this, panel, chooseColour](const QColor& current) {
            const QColor c = chooseColour(current);
            if (c.isValid()) {
                panel->SetValue(FromQColor(c));
                DrawPreview(50);
            }
            return c;
        };
    Image1 = Named(new QLabel(custom), "Image1", QRect(2, 52, 281, 26));
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Inverted"), custom), "CheckBox1", QRect(190, 24, 90, 20));
    DrawPreview(55);

    ComboRamp->setCurrentIndex(list < kGradRampCount ? list : 0);
    (mode == 1 ? RadioButton1 : RadioButton2)->setChecked(true);
    ShowPage();
    connect(RadioButton1, &QRadioButton::clicked, this, &TfrRamp::ShowPage);
    connect(RadioButton2, &QRadioButton::clicked, this, &TfrRamp::ShowPage);
    AddButtons(this, 140);
}

void TfrRamp::ShowPage() { Notebook1->setCurrentIndex(RadioButton1->isChecked() ? 1 : 0); }

void TfrRamp::DrawPreview(int swatches) {
    QPixmap strip(Image1->size());
    strip.fill(QApplication::palette().color(QPalette::Button));
    QPainter p(&strip);
    DrawCustomRamp(p, Panel1->Value(), Panel2->Value(), swatches);
    p.end();
    Image1->setPixmap(strip);
}

void TfrRamp::WriteBack(std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to) const {
    mode = RadioButton1->isChecked() ? 1 : 2;
    if (mode == 1) {
        list = static_cast<std::uint8_t>(ComboRamp->currentIndex());
        return;
    }
    from = CheckBox1->isChecked() ? Panel2->Value() : Panel1->Value();
    to = CheckBox1->isChecked() ? Panel1->Value() : Panel2->Value();
}

bool ChooseUniqueRamp(QWidget* owner, std::uint8_t& ramp) {
    TfrColorRamp dialog(owner, ramp);
    if (dialog.exec() != QDialog::Accepted) return false;
    ramp = static_cast<std::uint8_t>(dialog.Ramp());
    return true;
}

bool ChooseGradRamp(QWidget* owner, std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to,
                    ColourChooser chooseColour) {
    TfrRamp dialog(owner, mode, list, from, to, std::move(chooseColour));
    if (dialog.exec() != QDialog::Accepted) return false;
    dialog.WriteBack(mode, list, from, to);
    return true;
}

}  // namespace tessaly
