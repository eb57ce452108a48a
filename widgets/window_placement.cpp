#include "widgets/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace tessaly {

void SizeOuterAndCentre(QWidget& window, const QSize& outer) {
    QMargins frame;
    if (QWindow* w = window.windowHandle()) frame = w->frameMargins();
    window.resize(outer.width() - frame.left() - frame.right(), outer.height() - frame.top() - frame.bottom());
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    QRect area;
    if (owner != nullptr)
        area = owner->frameGeometry();
    else if (const QScreen* s = window.screen())
        area = s->availableGeometry();
    if (area.isValid()) {
        const QPoint centre = area.center();
        window.move(centre.x() - outer.width() / 2, centre.y() - outer.height() / 2);
    }
}

}  // namespace tessaly
