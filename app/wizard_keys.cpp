// Return on a wizard page goes forward: Next, or "Create KML file" on the Save page.

#include "app/main_window.h"
#include "widgets/az_button.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tessaly {

namespace {

// Lists, grids and many-line texts keep Return for themselves (an item's edit, a
// new line); so do the cells' editors inside a grid.
bool KeepsReturn(const QWidget* focus) {
    for (const QWidget* w = focus; w != nullptr; w = w->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
            qobject_cast<const QTextEdit*>(w))
            return true;
    return false;
}

}  // namespace

void TForm1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (!enter || (event->modifiers() | Qt::KeypadModifier) != Qt::KeypadModifier || KeepsReturn(focus)) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // A focused button is the one Return presses, as its dotted frame shows.
    if (auto* button = qobject_cast<TAZButton*>(focus))
        button->click();
    else if (CurrentPage() == WizardPage::Save)
        AZButton5->click();
    else
        AZButtonNextClick();
    event->accept();
}

}  // namespace tessaly
