#include "symbology/gui/histogram_window.h"

#include "input/dbf_table.h"
#include "symbology/chart_values.h"
#include "symbology/gui/histogram_drawing.h"
#include "widgets/az_button.h"
#include "widgets/named_widget.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace tessaly {

namespace {

constexpr int kPictureWidth = 547;
constexpr int kPictureHeight = 328;
constexpr int kBarHeight = 40;


}  // namespace

TfrHistogram::TfrHistogram(QWidget* owner, const std::string& tablePath, UserMessages& messages)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      tablePath_(tablePath),
      messages_(messages),
      picture_(kPictureWidth, kPictureHeight, QImage::Format_RGB32) {
    setObjectName("TfrHistogram");
    setWindowTitle("Histogram");
    setFont(QFont("Liberation Sans", 8));
    setFixedSize(kPictureWidth, kPictureHeight + kBarHeight);

    Image1 = Named(new QLabel(this), "Image1", QRect(0, 0, kPictureWidth, kPictureHeight));
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    const int bar = kPictureHeight;
    Named(new QLabel(QStringLiteral("Classes"), this), "Label2", QRect(5, bar + 11, 45, 16));
    ComboClasses = Named(new QComboBox(this), "ComboClasses", QRect(50, bar + 8, 45, 22));
    for (int n = kFewestHistogramBins; n <= kMostHistogramBins; ++n) ComboClasses->addItem(QString::number(n));
    ComboClasses->setCurrentIndex(0);
    Named(new QLabel(QStringLiteral("Field"), this), "Label1", QRect(105, bar + 11, 30, 16));
    ComboFields = Named(new QComboBox(this), "ComboFields", QRect(135, bar + 8, 120, 22));
    for (const std::string& field : ListFields(tablePath_, kNumericFields))
        ComboFields->addItem(QString::fromStdString(field));
    ComboFields->setCurrentIndex(-1);
    Label3 = Named(new QLabel(this), "Label3", QRect(265, bar + 3, 190, 16));
    LabelEmpty = Named(new QLabel(this), "LabelEmpty", QRect(265, bar + 20, 190, 16));
    auto* close = new TAZButton(QStringLiteral("Close"), this);
    close->setObjectName("AZButton1");
    close->setGeometry(kPictureWidth - 80, bar + 7, 75, 25);

    // activated, not currentIndexChanged: picking the same field again reads it again.
    connect(ComboFields, &QComboBox::activated, this, &TfrHistogram::ComboFieldsChange);
    connect(ComboClasses, &QComboBox::activated, this, &TfrHistogram::ComboClassesChange);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    DrawHistogram(picture_, std::nullopt);
    Image1->setPixmap(QPixmap::fromImage(picture_));
}

bool TfrHistogram::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseMove)
        Image1MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    return QDialog::eventFilter(watched, event);
}

void TfrHistogram::ComboFieldsChange(int index) {
    if (index < 0) return;
    try {
        column_ = ReadNumberColumn(tablePath_, ComboFields->itemText(index).toStdString());
    } catch (const TableError& error) {
        messages_.Error(error.what());
        return;
    }
    range_ = RangeOfValues(column_.values);
    LabelEmpty->setText(QString::fromStdString(EmptyValuesText(column_.emptyCount)));
    Draw();
}

void TfrHistogram::ComboClassesChange(int /*index*/) {
    if (ComboFields->currentIndex() >= 0) Draw();
}

void TfrHistogram::Draw() {
    histogram_ = CountHistogram(column_.values, range_, ComboClasses->currentIndex() + kFewestHistogramBins);
    Label3->clear();
    DrawHistogram(picture_, histogram_);
    Image1->setPixmap(QPixmap::fromImage(picture_));
    if (!histogram_) messages_.Error("No Values for Histogram");
}

void TfrHistogram::Image1MouseMove(int x) {
    if (!histogram_) {
        Label3->clear();
        return;
    }
    const HistogramScale scale(*histogram_, picture_.width(), picture_.height());
    Label3->setText(QString::fromStdString(HistogramReadOut(*histogram_, scale, x)));
}

void ShowHistogram(QWidget* owner, const std::string& tablePath, UserMessages& messages) {
    TfrHistogram window(owner, tablePath, messages);
    window.exec();
}

}  // namespace tessaly
