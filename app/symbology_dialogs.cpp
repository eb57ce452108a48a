#include "app/symbology_dialogs.h"

#include "app/palette_picture.h"
#include "symbology/gui/icon_picker.h"
#include "symbology/gui/ramp_dialogs.h"
#include "symbology/gui/symbol_dialog.h"

#include <QInputDialog>

namespace tessaly {

QString DesktopSymbologyDialogs::AskText(QWidget* owner, const QString& title, const QString& prompt) {
    return QInputDialog::getText(owner, title, prompt);
}

bool DesktopSymbologyDialogs::EditSymbol(QWidget* owner, std::uint8_t shapeClass, TItemSym& item,
                                         bool rollOverEffect) {
    return tessaly::EditSymbol(owner, shapeClass, item, PalettePicture(), rollOverEffect,
                               [this, owner](const QColor& c) { return colours_.ChooseColour(owner, c); });
}

bool DesktopSymbologyDialogs::PickIcon(QWidget* owner, int& icon) {
    return tessaly::PickIcon(owner, icon, PalettePicture());
}

bool DesktopSymbologyDialogs::ChooseUniqueRamp(QWidget* owner, std::uint8_t& ramp) {
    return tessaly::ChooseUniqueRamp(owner, ramp);
}

bool DesktopSymbologyDialogs::ChooseGradRamp(QWidget* owner, std::uint8_t& mode, std::uint8_t& list, Colour& from,
                                             Colour& to) {
    return tessaly::ChooseGradRamp(owner, mode, list, from, to,
                                   [this, owner](const QColor& c) { return colours_.ChooseColour(owner, c); });
}

}  // namespace tessaly
