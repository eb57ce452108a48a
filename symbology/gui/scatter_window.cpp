#include "symbology/gui/scatter_window.h"

#include "input/dbf_table.h"
#include "symbology/chart_values.h"
#include "symbology/gui/scatter_drawing.h"
#include "widgets/az_button.h"
#include "widgets/window_placement.h"
#include "widgets/named_widget.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace tessaly {

namespace {

constexpr int kOuterWidth = 690;
constexpr int kOuterHeight = 483;
constexpr int kBarHeight = 34;

QComboBox* FieldCombo(QWidget* parent, const char* name, const QRect& geometry,
                      const std::vector<std::string>& fields) {
    auto* combo = Named(new QComboBox(parent), name, geometry);
    for (const std::string& field : fields) combo->addItem(QString::fromStdString(field));
    combo->setCurrentIndex(-1);
    return combo;
}

}  // namespace

TfrScatter::TfrScatter(QWidget* owner, const std::string& tablePath, UserMessages& messages)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      tablePath_(tablePath),
      messages_(messages) {
    setObjectName("TfrScatter");
    setWindowTitle("Scatter Plot");
    setFont(QFont("Liberation Sans", 8));
    // Room for the bottom bar's controls and a plot area of some pixels.
    setMinimumSize(600, 160);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Image1 = Named(new QLabel(Panel1), "Image1", QRect());
    Panel2 = new QWidget(this);
    Panel2->setObjectName("Panel2");
    const std::vector<std::string> fields = ListFields(tablePath_, kNumericFields);
    Named(new QLabel(QStringLiteral("X-Axis"), Panel2), "Label1", QRect(5, 9, 40, 16));
    ComboX = FieldCombo(Panel2, "ComboX", QRect(45, 6, 120, 22), fields);
    Named(new QLabel(QStringLiteral("Y-Axis"), Panel2), "Label2", QRect(175, 9, 40, 16));
    ComboY = FieldCombo(Panel2, "ComboY", QRect(215, 6, 120, 22), fields);
    LabelEmpty = Named(new QLabel(Panel2), "LabelEmpty", QRect(345, 9, 170, 16));
    auto* close = new TAZButton(QStringLiteral("Close"), Panel2);
    close->setObjectName("AZButton1");
    CloseButton = close;

    connect(ComboX, &QComboBox::activated, this, &TfrScatter::ComboXChange);
    connect(ComboY, &QComboBox::activated, this, &TfrScatter::ComboYChange);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    resize(kOuterWidth, kOuterHeight);
}

void TfrScatter::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (sized_) return;
    sized_ = true;
    SizeOuterAndCentre(*this, QSize(kOuterWidth, kOuterHeight));
}

void TfrScatter::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), height() - kBarHeight);
    Image1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    Panel2->setGeometry(0, height() - kBarHeight, width(), kBarHeight);
    CloseButton->setGeometry(width() - 80, 5, 75, 25);
    Redraw();
}

bool TfrScatter::ReadChosen(QComboBox* combo, int index, NumberColumn& column, std::string& field) {
    if (index < 0) return false;
    field = combo->itemText(index).toStdString();
    try {
        column = ReadNumberColumn(tablePath_, field);
    } catch (const TableError& error) {
        messages_.Error(error.what());
        field.clear();
        column = {};
        return false;
    }
    return true;
}

void TfrScatter::ComboXChange(int index) {
    ReadChosen(ComboX, index, xValues_, plot_.XField);
    UpdateRanges();
    Redraw();
}

void TfrScatter::ComboYChange(int index) {
    ReadChosen(ComboY, index, yValues_, plot_.YField);
    UpdateRanges();
    Redraw();
}

// A record is left out of the ranges and the points when either of its values is empty.
void TfrScatter::UpdateRanges() {
    const bool both = !plot_.XField.empty() && !plot_.YField.empty();
    ranges_ = both ? RangesOfPairs(xValues_.values, yValues_.values) : PairRanges{};
    plot_.XMin = ranges_.x.minimum;
    plot_.XMax = ranges_.x.maximum;
    plot_.YMin = ranges_.y.minimum;
    plot_.YMax = ranges_.y.maximum;
    LabelEmpty->setText(QString::fromStdString(EmptyValuesText(ranges_.leftOut)));
}

void TfrScatter::Redraw() {
    QImage picture(Panel1->size(), QImage::Format_RGB32);
    if (ranges_.x.count > 0)
        DrawScatterPlot(picture, plot_, xValues_.values, yValues_.values);
    else
        DrawScatterAxes(picture, plot_);
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void ShowScatter(QWidget* owner, const std::string& tablePath, UserMessages& messages) {
    TfrScatter window(owner, tablePath, messages);
    window.exec();
}

}  // namespace tessaly
