#include "app/dialog_messages.h"

#include <QMessageBox>

namespace tessaly {

// A run shows its progress on the window it runs in; nothing to show here.
void DialogMessages::Progress(const std::string&) {}

void DialogMessages::Information(const std::string& text) {
    QMessageBox::information(owner_, QStringLiteral("Tessaly"), QString::fromStdString(text));
}

void DialogMessages::Error(const std::string& text) {
    QMessageBox::critical(owner_, QStringLiteral("Tessaly"), QString::fromStdString(text));
}

}  // namespace tessaly
