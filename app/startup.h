#pragma once
// Start-up and shut-down of the desktop program: the settings file and the
// first placement of the window.

#include "app/settings_file.h"

#include <QString>

class QWidget;

namespace tessaly {

// "tessaly.ini" beside the executable when that folder can be written, else in
// the user's configuration folder.
QString SettingsFilePath();

// Reads the settings (drawing a fresh identifier when there are none) and places
// the window where it was, or as on first use.
SettingsFile RestoreWindow(QWidget& window, const QString& settingsPath);

// Places and sizes the preview window from the settings (the design's size on
// first use). Sizes are the window's own area: the frame is not known before it shows.
void PlacePreview(QWidget& preview, const SettingsFile& settings);
// Takes the preview window's position and size into the settings to be written.
void RememberPreview(SettingsFile& settings, const QWidget& preview);

// Writes the four lines; a file that cannot be written is let go.
bool SaveWindow(const QWidget& window, SettingsFile settings, const QString& settingsPath);

}  // namespace tessaly
