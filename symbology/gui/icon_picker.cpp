#include "symbology/gui/icon_picker.h"

#include "app/palette_picture.h"
#include "widgets/az_button.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

namespace tessaly {

namespace {

constexpr int kGridCell = 34;

QPixmap IconPicture(const QImage& palette, int n, int size) {
    QPixmap picture(size, size);
    picture.fill(QColor(0xF0, 0xF0, 0xF0));
    if (n >= 1 && n <= kPaletteIconCount) {
        QPainter p(&picture);
        p.drawImage(QRect(0, 0, 26, 26), palette, PaletteCell(n));
    }
    return picture;
}

}  // namespace

TfrSelIcon::TfrSelIcon(QWidget* owner, int icon, const QImage& palette)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      palette_(palette.copy()),
      selection_(icon) {
    setObjectName(QStringLiteral("TfrSelIcon"));
    setWindowTitle(QStringLiteral("Icons from Google Earth"));
    setFixedSize(460, 420);

    StringGrid1 = new QTableWidget(kIconGridRows, kIconGridColumns, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(8, 8, kIconGridColumns * kGridCell + 22, 370);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kGridCell);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kGridCell);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setIconSize(QSize(26, 26));
    for (int r = 0; r < kIconGridRows; ++r)
        for (int c = 0; c < kIconGridColumns; ++c) {
            const int n = kIconGridColumns * r + c + 1;
            auto* cell = new QTableWidgetItem;
            if (n <= kPaletteIconCount) cell->setData(Qt::DecorationRole, IconPicture(palette_, n, 26));
            else cell->setFlags(Qt::NoItemFlags);  // no icon: drawn empty, not pickable
            StringGrid1->setItem(r, c, cell);
        }

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 386, 26, 26);
    // The pictures are the ones a KMZ carries; a .kml names Google Earth's palette.
    auto* note = new QLabel(QStringLiteral("A KMZ shows these pictures in any viewer;\n"
                                           "a .kml shows Google Earth's own palette."),
                            this);
    note->setObjectName(QStringLiteral("KmlPaletteNote"));
    note->setGeometry(42, 384, 232, 30);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    note->setFont(small);
    auto* accept = new TAZButton(QStringLiteral("Accept"), this);
    accept->setObjectName(QStringLiteral("AZButton1"));
    accept->setGeometry(280, 386, 80, 26);
    auto* cancel = new TAZButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("AZButton2"));
    cancel->setGeometry(370, 386, 80, 26);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this](int r, int c) { Select(kIconGridColumns * r + c + 1); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) {
        if (Select(kIconGridColumns * r + c + 1)) QDialog::accept();
    });

    if (selection_ >= 1 && selection_ <= kPaletteIconCount) {
        const int row = (selection_ - 1) / kIconGridColumns;
        StringGrid1->setCurrentCell(row, selection_ - 1 - kIconGridColumns * row);
    }
    ShowPreview();
}

bool TfrSelIcon::Select(int n) {
    if (n < 1 || n > kPaletteIconCount) return false;
    selection_ = n;
    ShowPreview();
    return true;
}

void TfrSelIcon::ShowPreview() { Image1->setPixmap(IconPicture(palette_, selection_, 26)); }

bool PickIcon(QWidget* owner, int& n, const QImage& palette) {
    TfrSelIcon dialog(owner, n, palette);
    if (dialog.exec() != QDialog::Accepted) return false;
    n = dialog.Selection();
    return true;
}

}  // namespace tessaly
