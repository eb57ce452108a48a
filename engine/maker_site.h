#pragma once
// Addresses on the program's own web site, written into every document.

namespace tessaly {

inline constexpr const char* kMakerSite = "http://www.tessaly.net";

}  // namespace tessaly
