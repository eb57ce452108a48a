#pragma once
// What a finished run tells the user: "Wrote 663 placemarks to /path/out.kml
// (1.2 MB) in 0.4 s".

#include <cstdint>
#include <string>

namespace tessaly {

// "812 bytes", "3.4 KB", "1.2 MB", "2.0 GB" (units of 1024).
std::string SizeText(std::uintmax_t bytes);

// One line naming the placemarks written, the document, its size and the time taken.
std::string RunSummary(long long placemarks, const std::string& path, std::uintmax_t bytes, double seconds);

}  // namespace tessaly
