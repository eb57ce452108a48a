#pragma once
// The dialogs the symbology pages open: an input box, the symbol and icon
// dialogs and the ramp dialogs. Tests answer them instead of a user.

#include "app/wizard_dialogs.h"
#include "symbology/symbol_list.h"

#include <QString>
#include <QWidget>

namespace tessaly {

class SymbologyDialogs {
public:
    virtual ~SymbologyDialogs() = default;
    // A typed answer; empty when cancelled.
    virtual QString AskText(QWidget* owner, const QString& title, const QString& prompt) = 0;
    // Each is true, and its values changed, only when accepted.
    virtual bool EditSymbol(QWidget* owner, std::uint8_t shapeClass, TItemSym& item, bool rollOverEffect) = 0;
    virtual bool PickIcon(QWidget* owner, int& icon) = 0;
    virtual bool ChooseUniqueRamp(QWidget* owner, std::uint8_t& ramp) = 0;
    virtual bool ChooseGradRamp(QWidget* owner, std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to) = 0;
};

// The program's own dialogs, on the palette picture; colours come from `colours`.
class DesktopSymbologyDialogs : public SymbologyDialogs {
public:
    explicit DesktopSymbologyDialogs(WizardDialogs& colours) : colours_(colours) {}
    QString AskText(QWidget* owner, const QString& title, const QString& prompt) override;
    bool EditSymbol(QWidget* owner, std::uint8_t shapeClass, TItemSym& item, bool rollOverEffect) override;
    bool PickIcon(QWidget* owner, int& icon) override;
    bool ChooseUniqueRamp(QWidget* owner, std::uint8_t& ramp) override;
    bool ChooseGradRamp(QWidget* owner, std::uint8_t& mode, std::uint8_t& list, Colour& from, Colour& to) override;

private:
    WizardDialogs& colours_;
};

}  // namespace tessaly
