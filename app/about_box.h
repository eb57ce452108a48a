#pragma once
// The About box: title, subtitle, the installation's identifier and the build.

#include <QDialog>

#include <string>

class QLabel;

namespace tessaly {

class TfrAbout : public QDialog {
public:
    TfrAbout(const std::string& installId, const std::string& versionText, QWidget* owner);

protected:
    // A click anywhere closes the box.
    void mousePressEvent(QMouseEvent* event) override;
};

// Shows the box modally, centred over the owner, and destroys it when it closes.
void ShowAbout(const std::string& installId, const std::string& versionText, QWidget* owner);

}  // namespace tessaly
