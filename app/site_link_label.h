#pragma once
// A label that opens a page when clicked (a disabled one takes no clicks).

#include <QLabel>

#include <functional>

namespace tessaly {

class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> clicked, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::function<void()> clicked_;
};

}  // namespace tessaly
