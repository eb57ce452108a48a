#pragma once

#include "cli/options.h"

namespace tessaly::cli {

// Converts the one input of the command line. Returns the exit status; usage
// errors throw std::invalid_argument, failures of the input or the run throw the
// engine's errors (each naming the file).
int RunConversion(const CommandLine& line);

// Converts `input` into `output` with the options of the command line, throwing as
// RunConversion does. Every message starts with prefix. A conversion that runs
// alone releases PROJ's shared caches once the .prj is read; side by side with
// others it leaves them alone.
void ConvertShapefile(const CommandLine& line, const std::string& input, const std::string& output,
                      const std::string& prefix, bool alone);

}  // namespace tessaly::cli
