#include "cli/coordinate_choice.h"

#include "cli/choice_parsing.h"
#include "input/datum_catalogue.h"
#include "input/proj_context.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessaly::cli {

namespace {

constexpr const char* kFromOptions = ", from the options";

InputCoordinateSystem FromSrsOption(const std::string& definition) {
    try {
        std::error_code ec;
        if (fs::is_regular_file(definition, ec)) return ReadPrjFile(definition);
        return RecogniseCoordinateSystem(definition, "--srs", ", from --srs");
    } catch (const CoordinateSystemError& e) {
        throw std::invalid_argument(e.what());
    }
}

InputCoordinateSystem FromOptions(const CommandLine& line) {
    InputCoordinateSystem s = DefaultCoordinateSystem(kFromOptions);
    if (line.Has("--datum")) s.datum = ParseInteger("--datum", line.values.at("--datum"), 1, kDatumCount);
    if (!line.Has("--utm")) return s;
    const std::string& z = line.values.at("--utm");
    const char hemisphere = z.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(z.back())));
    if (hemisphere != 'N' && hemisphere != 'S')
        throw std::invalid_argument("--utm takes a zone and a hemisphere, such as 14N or 56S, not \"" + z + "\"");
    s.kind = InputSystemKind::Utm;
    s.utmZone = ParseInteger("--utm", z.substr(0, z.size() - 1), 1, 60);
    s.north = hemisphere == 'N';
    return s;
}

}  // namespace

InputCoordinateSystem ChooseCoordinateSystem(const CommandLine& line, const std::string& shapefilePath,
                                             std::vector<std::string>& notes) {
    const bool options = line.Has("--utm") || line.Has("--datum") || line.Has("--geographic");
    if (line.Has("--geographic") && line.Has("--utm")) throw std::invalid_argument("--geographic and --utm exclude each other");
    if (line.Has("--srs")) {
        if (options) throw std::invalid_argument("--srs excludes --utm, --datum and --geographic");
        return FromSrsOption(line.values.at("--srs"));
    }
    if (options) return FromOptions(line);
    const std::string prj = PrjPathOf(shapefilePath);
    if (prj.empty()) return DefaultCoordinateSystem(": no .prj");
    try {
        return ReadPrjFile(prj);
    } catch (const CoordinateSystemError& e) {
        notes.push_back(std::string(e.what()) + "; the input is read as longitude/latitude on WGS 1984");
        return DefaultCoordinateSystem(": " + fs::path(prj).filename().string() + " cannot be read");
    }
}

void ApplyCoordinateSystem(const InputCoordinateSystem& system, ConversionChoices& choices) {
    choices.datum = system.datum;
    choices.geographic = system.kind != InputSystemKind::Utm;
    choices.utmZone = system.utmZone;
    choices.north = system.north;
    choices.projectedDefinition = system.kind == InputSystemKind::ThroughProj ? system.definition : std::string();
}

}  // namespace tessaly::cli
