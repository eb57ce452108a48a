// tessaly-convert: the command-line face of the converter.

#include "cli/info_command.h"
#include "cli/options.h"

#include <exception>
#include <iostream>
#include <stdexcept>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int Run(const tessaly::cli::CommandLine& line) {
    using namespace tessaly::cli;
    if (line.Has("--help")) {
        std::cout << UsageText();
        return 0;
    }
    if (line.Has("--list-datums")) {
        PrintDatums(std::cout);
        return 0;
    }
    if (line.Has("--info")) {
        PrintShapefileInfo(line.values.at("--info"), std::cout);
        return 0;
    }
    throw std::invalid_argument("nothing to do");
}

}  // namespace

int main(int argc, char** argv) {
    tessaly::cli::CommandLine line;
    try {
        line = tessaly::cli::ParseCommandLine(argc, argv);
        if (!line.inputs.empty())
            throw std::invalid_argument("unexpected argument " + line.inputs.front());
    } catch (const std::invalid_argument& e) {
        std::cerr << "tessaly-convert: " << e.what() << "\n" << tessaly::cli::UsageText();
        return kExitUsage;
    }
    try {
        return Run(line);
    } catch (const std::invalid_argument& e) {
        std::cerr << "tessaly-convert: " << e.what() << "\n" << tessaly::cli::UsageText();
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "tessaly-convert: " << e.what() << "\n";
        return kExitFailure;
    }
}
