#pragma once
// The "Scatter Plot" window: every record at (field X, field Y).

#include "engine/user_messages.h"
#include "input/attribute_fields.h"
#include "symbology/scatter_scale.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;

namespace tessaly {

class TfrScatter : public QDialog {
    Q_OBJECT

public:
    // Lists the table's numeric fields; throws TableError when the table cannot be opened.
    TfrScatter(QWidget* owner, const std::string& tablePath, UserMessages& messages);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ComboXChange(int index);
    void ComboYChange(int index);
    // Reads the field chosen in combo into column; false when it cannot be read.
    bool ReadChosen(QComboBox* combo, int index, NumberColumn& column, std::string& field);
    void UpdateRanges();
    void Redraw();

    std::string tablePath_;
    UserMessages& messages_;
    TPlot plot_;
    NumberColumn xValues_;        // read once per choice of field X
    NumberColumn yValues_;
    PairRanges ranges_;
    bool sized_ = false;

    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* Panel2 = nullptr;
    QComboBox* ComboX = nullptr;
    QComboBox* ComboY = nullptr;
    QLabel* LabelEmpty = nullptr;
    QWidget* CloseButton = nullptr;
};

// Shows the scatter plot window over the table at tablePath modally; TableError
// when it cannot be opened.
void ShowScatter(QWidget* owner, const std::string& tablePath, UserMessages& messages);

}  // namespace tessaly
