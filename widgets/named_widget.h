#pragma once
// Controls keep the names their windows give them, so that tests and scripts find
// them, and sit at fixed places as the windows lay them out.

#include <QRect>
#include <QString>

namespace tessaly {

template <typename W>
W* Named(W* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace tessaly
