#include "widgets/cut_text_tips.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyleOptionViewItem>
#include <QToolTip>

namespace tessaly {

namespace {

class CutTextTips : public QObject {
public:
    explicit CutTextTips(QAbstractItemView* view) : QObject(view), view_(view) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = view_->indexAt(help->pos());
        // An item's own tooltip comes first.
        if (!index.isValid() || index.data(Qt::ToolTipRole).isValid()) return false;
        const QString text = index.data(Qt::DisplayRole).toString();
        const QRect cell = view_->visualRect(index);
        QStyleOptionViewItem option;
        option.initFrom(view_);
        option.font = view_->font();
        // What the delegate would need to show the item whole: its check box,
        // picture and margins with the text.
        const int wanted = view_->itemDelegateForIndex(index)->sizeHint(option, index).width();
        if (text.isEmpty() || wanted <= cell.width()) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(), text, view_->viewport(), cell);
        return true;
    }

private:
    QAbstractItemView* view_;
};

}  // namespace

void ShowCutTextsInTooltips(QAbstractItemView* view) {
    view->viewport()->installEventFilter(new CutTextTips(view));
}

}  // namespace tessaly
