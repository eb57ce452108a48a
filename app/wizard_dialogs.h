#pragma once
// The choices the wizard asks of the user in standard dialogs; tests answer them.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace tessaly {

class WizardDialogs {
public:
    virtual ~WizardDialogs() = default;
    // The shapefile to load; empty when cancelled.
    virtual QString OpenShapefile(QWidget* owner) = 0;
    // Where to write the document (".kml", or ".kmz" for an archive), starting from a
    // proposed name; empty when cancelled.
    virtual QString SaveKml(QWidget* owner, const QString& proposed) = 0;
    // A colour, starting from the current one; invalid when cancelled.
    virtual QColor ChooseColour(QWidget* owner, const QColor& current) = 0;
    // Opens a finished document in the program the desktop has for ".kml" or ".kmz",
    // or a folder in the desktop's file manager.
    virtual void OpenDocument(const QString& path) = 0;
};

// The save dialog's filters: the document, then the KMZ archive.
QStringList SaveFilters();

// The desktop's own dialogs.
class DesktopDialogs : public WizardDialogs {
public:
    QString OpenShapefile(QWidget* owner) override;
    QString SaveKml(QWidget* owner, const QString& proposed) override;
    QColor ChooseColour(QWidget* owner, const QColor& current) override;
    void OpenDocument(const QString& path) override;
};

}  // namespace tessaly
