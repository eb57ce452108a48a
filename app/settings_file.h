#pragma once
// "tessaly.ini": the installation's identifier and where the windows were.
// Four lines: the identifier, the main window's left and top, the preview
// window's left and top, and the preview window's width and height.

#include <optional>
#include <random>
#include <string>

namespace tessaly {

struct WindowPoint {
    int x = 0;
    int y = 0;
};

struct SettingsFile {
    std::string InstallId;
    WindowPoint MainPosition;
    WindowPoint PreviewPosition;
    WindowPoint PreviewSize;  // width and height
};

// The file's text, each line ended by carriage return and line feed.
std::string FormatSettings(const SettingsFile& settings);
// Nothing when the text does not hold the four lines (the program then places
// its windows as on first use).
std::optional<SettingsFile> ParseSettings(const std::string& text);

// Twelve characters from A-Z and 0-9 in three groups of four: "K3D9-Q0AZ-7TLM".
std::string NewInstallId(std::mt19937& random);

// Where the main window goes on first use, for the primary screen's size.
WindowPoint FirstUsePlacement(int screenWidth, int screenHeight);

}  // namespace tessaly
