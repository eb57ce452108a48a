#pragma once
// "Icons from Google Earth": a grid of the palette's icons to pick one from.

#include "engine/icon_palette.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QTableWidget;

namespace tessaly {

// The grid holds every palette icon (kPaletteIconCount); its last cells have none.
constexpr int kIconGridColumns = 12;
constexpr int kIconGridRows = 14;

class TfrSelIcon : public QDialog {
public:
    TfrSelIcon(QWidget* owner, int icon, const QImage& palette);

    int Selection() const { return selection_; }
    // Makes icon n the selection, as a click on its cell does; cells without an
    // icon are refused.
    bool Select(int n);

private:
    void ShowPreview();

    QImage palette_;  // a private copy while the dialog lives
    QTableWidget* StringGrid1;
    QLabel* Image1;
    int selection_;
};

// Opens the picker on icon n; true, and n the chosen icon, when accepted.
bool PickIcon(QWidget* owner, int& n, const QImage& palette);

}  // namespace tessaly
