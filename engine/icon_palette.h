#pragma once
// The numbered Google Earth palette icons that point symbols use.

#include "input/one_based_list.h"

#include <cstdint>
#include <string>

namespace tessaly {

struct TGEIcon {
    std::uint8_t Palette = 0;  // palette image 2..5
    std::uint8_t PixelX = 0;   // offset of the 32 x 32 cell in the image
    std::uint8_t PixelY = 0;
};

constexpr int kPaletteIconCount = 163;

class TGEIconList {
public:
    void AddIcon(std::uint8_t palette, std::uint8_t x, std::uint8_t y);
    // Icon number i, 1-based; throws std::out_of_range outside 1..Count().
    const TGEIcon& IconAt(std::int32_t i) const { return icons_.Item(i); }
    std::int32_t Count() const { return icons_.Count(); }
    void Clear() { icons_.Clear(); }
    // Appends the 163 icons in their numbered order.
    void LoadPalette();
    // Content of the KML Icon element for icon number i.
    std::string Href(std::int32_t i) const;
    // Where a KMZ archive holds the program's picture of icon number i.
    std::string ArchivePath(std::int32_t i) const;

private:
    OneBasedList<TGEIcon> icons_;
};

}  // namespace tessaly
