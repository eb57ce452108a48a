#include "app/wizard_dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace tessaly {

QStringList SaveFilters() {
    return {QStringLiteral("Google Earth (*.kml)"), QStringLiteral("Google Earth KMZ archive (*.kmz)")};
}

QString DesktopDialogs::OpenShapefile(QWidget* owner) {
    return QFileDialog::getOpenFileName(owner, QString(), QString(), QStringLiteral("ESRI shapefile (*.shp)"));
}

QString DesktopDialogs::SaveKml(QWidget* owner, const QString& proposed) {
    QFileDialog dialog(owner, QString(), proposed);
    dialog.setNameFilters(SaveFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Tiles are written only into an archive: a proposed ".kmz" starts on its filter.
    const bool archive = proposed.endsWith(QStringLiteral(".kmz"), Qt::CaseInsensitive);
    if (archive) dialog.selectNameFilter(SaveFilters().back());
    dialog.setDefaultSuffix(archive ? QStringLiteral("kmz") : QStringLiteral("kml"));
    // The suffix added to a bare name follows the filter the user picks.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == SaveFilters().back() ? QStringLiteral("kmz") : QStringLiteral("kml"));
    });
    dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                   : QString();
}

QColor DesktopDialogs::ChooseColour(QWidget* owner, const QColor& current) {
    return QColorDialog::getColor(current, owner);
}

void DesktopDialogs::OpenDocument(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace tessaly
