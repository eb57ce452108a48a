#pragma once
// The forms of the desktop program's command line that run without its window.

#include <optional>
#include <string>

namespace tessaly {

// The usage text of "tessaly --help".
std::string DesktopUsageText();

// Runs "--help" or "--preview-png OUT.png [--size WIDTHxHEIGHT] INPUT.shp" and
// gives the exit status; nothing when the arguments are the wizard's own.
std::optional<int> RunCommandLine(int argc, const char* const* argv);

// Draws the preview of a shapefile in the default single symbol into a PNG file.
// Empty on success, else a message naming the file and the problem; no file is
// left behind on failure.
std::string WritePreviewPicture(const std::string& shapePath, const std::string& pngPath, int width, int height);

}  // namespace tessaly
