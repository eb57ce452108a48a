#pragma once
// How far a run is, in the words the windows and the terminal show.

#include <string>

namespace tessaly {

// Whole percent of done in total, 0 to 100; a run with nothing to do is done.
int PercentDone(long long done, long long total);

// A step's text with the percentage after a blank: "Creating KML file... 42%".
std::string StepWithPercent(const std::string& step, int percent);

}  // namespace tessaly
