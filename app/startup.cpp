#include "app/startup.h"

#include "app/preview_map_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <random>

namespace tessaly {

QString SettingsFilePath() {
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDir).isWritable()) return QDir(programDir).filePath(QStringLiteral("tessaly.ini"));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return QDir(config).filePath(QStringLiteral("tessaly.ini"));
}

SettingsFile RestoreWindow(QWidget& window, const QString& settingsPath) {
    std::mt19937 random(std::random_device{}());
    SettingsFile settings;
    settings.InstallId = NewInstallId(random);
    QFile file(settingsPath);
    std::optional<SettingsFile> read;
    if (file.open(QIODevice::ReadOnly)) read = ParseSettings(file.readAll().toStdString());
    if (read) {
        settings = *read;
    } else {
        const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
        settings.MainPosition = FirstUsePlacement(screen.width(), screen.height());
        settings.PreviewPosition = {settings.MainPosition.x + window.frameGeometry().width() + 2, settings.MainPosition.y};
        settings.PreviewSize = {TfrMap::kDesignWidth, TfrMap::kDesignHeight};
    }
    window.move(settings.MainPosition.x, settings.MainPosition.y);
    return settings;
}

void PlacePreview(QWidget& preview, const SettingsFile& settings) {
    preview.move(settings.PreviewPosition.x, settings.PreviewPosition.y);
    preview.resize(std::max(settings.PreviewSize.x, 1), std::max(settings.PreviewSize.y, 1));
}

void RememberPreview(SettingsFile& settings, const QWidget& preview) {
    settings.PreviewPosition = {preview.x(), preview.y()};
    settings.PreviewSize = {preview.width(), preview.height()};
}

bool SaveWindow(const QWidget& window, SettingsFile settings, const QString& settingsPath) {
    settings.MainPosition = {window.x(), window.y()};
    QFile file(settingsPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const std::string text = FormatSettings(settings);
    return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

}  // namespace tessaly
