#pragma once
// The program's own pictures of the palette icons (data/icons, drawn by
// scripts/generate_icons.py): what a KMZ carries and what the icon picker shows.

#include "engine/icon_palette.h"

#include <string_view>

namespace tessaly {

// The 32 x 32 PNG of palette icon n; throws std::out_of_range outside 1..kPaletteIconCount.
std::string_view IconPicture(int n);

}  // namespace tessaly
