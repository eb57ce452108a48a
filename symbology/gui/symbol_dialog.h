#pragma once
// "Properties": the icon, line and fill of one symbol, on three tabs.

#include "symbology/symbol_list.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QTabWidget;

namespace tessaly {

class ColourSwatch;

// Asked for a colour, starting from the current one; invalid when cancelled.
using ColourChooser = std::function<QColor(const QColor& current)>;

class TfrSymbol : public QDialog {
public:
    // shapeClass 1 points, 2 lines, 3 polygons: which tabs are enabled and which opens.
    TfrSymbol(QWidget* owner, std::uint8_t shapeClass, const TItemSym& item, const QImage& palette,
              bool rollOverEffect, ColourChooser chooseColour);

    // Every field but ValueText, also those of disabled tabs.
    void WriteBack(TItemSym& item) const;

private:
    void ShowOpacities();
    void DrawIcons();
    void ChooseIcon(int& icon);

    QImage palette_;
    int icon_;
    int rollOverIcon_;
    std::uint8_t iconScale_;
    QTabWidget* PageControl1;
    ColourSwatch* IconColor;
    QSlider* IconOpacity;
    QLabel* Label7;
    QComboBox* ComboIconScale;
    QLabel* Image1;
    QLabel* Image2;
    QCheckBox* CheckBox1;
    ColourSwatch* LineColor;
    QSlider* LineOpacity;
    QLabel* Label3;
    QComboBox* LineWidth;
    ColourSwatch* FillColor;
    QSlider* FillOpacity;
    QLabel* Label5;
    QComboBox* ComboFill;
};

// Opens the dialog on item; true, and the item changed, only when accepted.
bool EditSymbol(QWidget* owner, std::uint8_t shapeClass, TItemSym& item, const QImage& palette,
                bool rollOverEffect, ColourChooser chooseColour);

}  // namespace tessaly
