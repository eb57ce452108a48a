#pragma once
// Addresses on the program's own web site, written into every document.

namespace tessaly {

inline constexpr const char* kMakerSite = "http://www.tessaly.net";
inline constexpr const char* kMakerMarkerIcon = "http://www.tessaly.net/library/symbols/ge/tessaly.png";
inline constexpr const char* kKmlNamespace = "http://earth.google.com/kml/2.0";

}  // namespace tessaly
