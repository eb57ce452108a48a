#pragma once
// The statistics of one numeric field of an attribute table.

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace tessaly {

// The "Statistics" window: pick a numeric field, read its statistics.
class TfrStats : public QDialog {
    Q_OBJECT

public:
    // Lists the table's numeric fields; throws TableError when the table cannot be opened.
    TfrStats(QWidget* owner, const std::string& tablePath);

    QComboBox* Fields() const { return comboBox1_; }
    QPlainTextEdit* Memo() const { return memo1_; }

private:
    void ComboBox1Change(int index);

    std::string tablePath_;
    QLabel* label1_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
};

// Shows the statistics window over the table at tablePath modally; TableError
// when it cannot be opened.
void ShowStatistics(QWidget* owner, const std::string& tablePath);

}  // namespace tessaly
