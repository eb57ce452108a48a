#pragma once
// Texts cut short in a list or grid (a long class text, value or field name) show
// in full in a tooltip over their item.

class QAbstractItemView;

namespace tessaly {

// From now on, for the life of the view.
void ShowCutTextsInTooltips(QAbstractItemView* view);

}  // namespace tessaly
