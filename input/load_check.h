#pragma once
// What a shapefile shows of its problems as soon as it is loaded, worded as a run
// would report them, so that the user hears of them before choosing everything else.

#include <string>
#include <vector>

namespace tessaly {

// Reads the records of shapePath, whose header has been read: the first record
// that does not fit the file, and, for geographic input, a bounding box that
// cannot be longitude and latitude. Empty when there is nothing to say.
std::vector<std::string> LoadWarnings(const std::string& shapePath, bool geographic);

}  // namespace tessaly
