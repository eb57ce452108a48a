// tessaly-convert: the command-line face of the converter.

#include "cli/batch_command.h"
#include "cli/convert_command.h"
#include "cli/coordinate_choice.h"
#include "cli/info_command.h"
#include "cli/options.h"
#include "engine/program_version.h"

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
    if (line.Has("--version")) {
        std::cout << tessaly::VersionLine("tessaly-convert");
        return 0;
    }
    if (line.Has("--list-datums")) {
        PrintDatums(std::cout);
        return 0;
    }
    if (line.Has("--info")) {
        const std::string& path = line.values.at("--info");
        std::vector<std::string> notes;
        const std::string system = tessaly::CoordinateSystemText(ChooseCoordinateSystem(line, path, notes));
        for (const std::string& note : notes) std::cerr << "tessaly-convert: note: " << note << "\n";
        PrintShapefileInfo(path, system, std::cout);
        return 0;
    }
    return IsBatch(line) ? RunBatch(line) : RunConversion(line);
}

}  // namespace

int main(int argc, char** argv) {
    tessaly::cli::CommandLine line;
    try {
        line = tessaly::cli::ParseCommandLine(argc, argv);
    } catch (const std::invalid_argument& e) {
        std::cerr << "tessaly-convert: " << e.what() << "\nRun tessaly-convert --help for the options.\n";
        return kExitUsage;
    }
    try {
        return Run(line);
    } catch (const std::invalid_argument& e) {
        std::cerr << "tessaly-convert: " << e.what() << "\nRun tessaly-convert --help for the options.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "tessaly-convert: " << e.what() << "\n";
        return kExitFailure;
    }
}
