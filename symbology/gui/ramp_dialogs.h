#pragma once
// "Color Ramps" (the named ramp of unique values) and "Color Ramp" (a ramp list or
// two colours of one's own for graduated classes), with the strips they draw.

#include "symbology/gui/symbol_dialog.h"
#include "symbology/symbol_list.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QStackedWidget;

namespace tessaly {

// An entry of the unique-value list: the name at (left + 5, top + 2), then fifteen
// 10-pixel swatches of ramp `ramp`'s classes 1..15 from left + 120.
void DrawUniqueRampEntry(QPainter& painter, const QRect& r, int ramp, const QString& name);
// An entry of the graduated list: 35 swatches of 8 pixels along the stops.
void DrawGradRampEntry(QPainter& painter, const QRect& r, const std::string& stops);
// The custom preview: `swatches` swatches of 5 x 10 pixels from `from` to `to`.
void DrawCustomRamp(QPainter& painter, Colour from, Colour to, int swatches);

class TfrColorRamp : public QDialog {
public:
    TfrColorRamp(QWidget* owner, int ramp);
    int Ramp() const;  // 1..9

private:
    QComboBox* ComboRamp;
};

class TfrRamp : public QDialog {
public:
    TfrRamp(QWidget* owner, std::uint8_t mode, std::uint8_t list, Colour from, Colour to, ColourChooser chooseColour);
    // Mode 1 sets the list and leaves the colours; mode 2 sets the colours (swapped
    // when "Inverted" is checked) and leaves the list.
    void WriteBack(std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to) const;

private:
    void ShowPage();
    void DrawPreview(int swatches);

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QStackedWidget* Notebook1;
    QComboBox* ComboRamp;
    ColourSwatch* Panel1;
    ColourSwatch* Panel2;
    QLabel* Image1;
    QCheckBox* CheckBox1;
};

// True, and the values changed, when the dialog is accepted.
bool ChooseUniqueRamp(QWidget* owner, std::uint8_t& ramp);
bool ChooseGradRamp(QWidget* owner, std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to,
                    ColourChooser chooseColour);

}  // namespace tessaly
