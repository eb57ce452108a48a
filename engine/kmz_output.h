#pragma once
// KMZ: a zip archive whose first entry, "doc.kml", is the document, compressed.

#include <string>

namespace tessaly {

// True when the path names a KMZ archive (it ends in ".kmz", in any letter case).
bool IsKmzPath(const std::string& path);

// Packs the finished document kmlFile as "doc.kml" into a new archive kmzFile.
// Throws OutputError naming reportAs (the path the user chose) when it fails.
void PackKmz(const std::string& kmlFile, const std::string& kmzFile, const std::string& reportAs);

}  // namespace tessaly
