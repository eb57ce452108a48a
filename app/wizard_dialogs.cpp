#include "app/wizard_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace tessaly {

QString DesktopDialogs::OpenShapefile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QStringLiteral("ESRI shapefile (*.shp)"));
}

QString DesktopDialogs::SaveKml(QWidget* owner, const QString& proposed) {
    QFileDialog dialog(owner, QString(), proposed, QStringLiteral("Google Earth (*.kml)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("kml"));
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                   : QString();
}

QColor DesktopDialogs::ChooseColour(QWidget* owner, const QColor& current) {
    return QColorDialog::getColor(current, owner);
}

void DesktopDialogs::OpenDocument(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace tessaly
