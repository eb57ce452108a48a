#include "app/site_link_label.h"

#include <QMouseEvent>

namespace tessaly {

LinkLabel::LinkLabel(const QString& text, std::function<void()> clicked, QWidget* parent)
    : QLabel(text, parent), clicked_(std::move(clicked)) {
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) clicked_();
    event->accept();
}

}  // namespace tessaly
