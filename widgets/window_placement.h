#pragma once
// Tool windows are sized by their whole outer frame and open centred over the
// window that owns them (or the screen).

#include <QSize>

class QWidget;

namespace tessaly {

// Call once the window is shown: only then is its frame known.
void SizeOuterAndCentre(QWidget& window, const QSize& outer);

}  // namespace tessaly
