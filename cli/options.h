#pragma once
// The converter's command line: one table of options, from which both the
// parser and the usage text come.

#include <map>
#include <string>
#include <vector>

namespace tessaly::cli {

struct OptionSpec {
    std::string name;      // "--info"
    std::string argument;  // "FILE.shp"; empty for a flag
    std::string help;
};

const std::vector<OptionSpec>& Options();

struct CommandLine {
    std::map<std::string, std::string> values;  // option name -> argument ("" for flags)
    std::vector<std::string> inputs;             // words that are not options

    bool Has(const std::string& name) const { return values.count(name) != 0; }
};

// Throws std::invalid_argument with a message naming the option.
CommandLine ParseCommandLine(int argc, char** argv);

std::string UsageText();

}  // namespace tessaly::cli
