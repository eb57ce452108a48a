#pragma once
// The "Histogram" window: the frequency distribution of one numeric field.

#include "engine/user_messages.h"
#include "input/attribute_fields.h"
#include "symbology/histogram_bins.h"

#include <QDialog>
#include <QImage>

#include <optional>
#include <string>

class QComboBox;
class QLabel;

namespace tessaly {

class TfrHistogram : public QDialog {
    Q_OBJECT

public:
    // Lists the table's numeric fields; throws TableError when the table cannot be opened.
    TfrHistogram(QWidget* owner, const std::string& tablePath, UserMessages& messages);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ComboFieldsChange(int index);
    void ComboClassesChange(int index);
    void Image1MouseMove(int x);
    void Draw();

    std::string tablePath_;
    UserMessages& messages_;
    NumberColumn column_;         // the chosen field's values, read once per choice
    ValueRange range_;
    std::optional<Histogram> histogram_;
    QImage picture_;

    QLabel* Image1 = nullptr;
    QComboBox* ComboClasses = nullptr;
    QComboBox* ComboFields = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* LabelEmpty = nullptr;
};

// Shows the histogram window over the table at tablePath modally; TableError
// when it cannot be opened.
void ShowHistogram(QWidget* owner, const std::string& tablePath, UserMessages& messages);

}  // namespace tessaly
