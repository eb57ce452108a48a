#include "input/gui/statistics_window.h"

#include "input/attribute_fields.h"
#include "input/dbf_table.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace tessaly {

TfrStats::TfrStats(QWidget* owner, const std::string& tablePath)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      tablePath_(tablePath) {
    setObjectName("TfrStats");
    setWindowTitle("Statistics");
    setFont(QFont("Liberation Sans", 9));
    setFixedSize(228, 160);

    label1_ = new QLabel("Field", this);
    label1_->setObjectName("Label1");
    label1_->move(5, 15);
    label1_->adjustSize();

    comboBox1_ = new QComboBox(this);
    comboBox1_->setObjectName("ComboBox1");
    comboBox1_->setEditable(false);
    comboBox1_->setGeometry(40, 10, 181, comboBox1_->sizeHint().height());

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName("Memo1");
    memo1_->setReadOnly(true);
    memo1_->setGeometry(5, 40, 216, 111);

    for (const std::string& field : ListFields(tablePath_, kNumericFields))
        comboBox1_->addItem(QString::fromStdString(field));
    comboBox1_->setCurrentIndex(-1);

    // activated, not currentIndexChanged: picking the same field again recomputes it.
    connect(comboBox1_, &QComboBox::activated, this, &TfrStats::ComboBox1Change);
}

void TfrStats::ComboBox1Change(int index) {
    if (index < 0) return;
    QStringList lines{QString()};
    try {
        for (const std::string& line : FieldStatistics(tablePath_, comboBox1_->itemText(index).toStdString()))
            lines << QString::fromStdString(line);
    } catch (const TableError& error) {
        // Inside an event handler there is no caller to throw to; say it where the figures go.
        lines << QString::fromStdString(error.what());
    }
    memo1_->setPlainText(lines.join('\n'));
    memo1_->setFocus();
}

void ShowStatistics(QWidget* owner, const std::string& tablePath) {
    TfrStats window(owner, tablePath);
    window.exec();
}

}  // namespace tessaly
