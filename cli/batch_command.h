#pragma once
// Many shapefiles converted in one call, with the same options, each into a
// document of its own name in one folder, several at a time.

#include "cli/options.h"

namespace tessaly::cli {

// A batch: more than one input, a folder among the inputs, an output folder
// ("-o OUT/" or an existing folder), --kmz or --jobs.
bool IsBatch(const CommandLine& line);

// Converts every input (the shapefiles of a folder input, not those of its
// subfolders) into the output folder, made when missing, or else beside each input.
// Inputs of the same name, or a folder without shapefiles, are usage errors
// thrown before any work starts. An input that fails is told and the others go on;
// the status is 1 when any failed, 2 when the options fitted none of them.
int RunBatch(const CommandLine& line);

}  // namespace tessaly::cli
