#pragma once

#include "cli/options.h"

namespace tessaly::cli {

// Converts the one input of the command line. Returns the exit status; usage
// errors throw std::invalid_argument, failures of the input or the run throw the
// engine's errors (each naming the file).
int RunConversion(const CommandLine& line);

}  // namespace tessaly::cli
