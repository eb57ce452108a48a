#include "cli/convert_command.h"

#include "cli/choice_parsing.h"
#include "cli/console_messages.h"
#include "cli/coordinate_choice.h"
#include "engine/conversion_engine.h"
#include "engine/kmz_output.h"
#include "engine/working_folder.h"
#include "input/attribute_fields.h"
#include "input/dbf_table.h"
#include "input/number_text.h"
#include "input/proj_context.h"
#include "input/shapefile_reader.h"
#include "symbology/classification.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessaly::cli {

namespace {

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) items.push_back(item);
    return items;
}

// The field of the table that a name means, as the table spells it.
std::string TableField(const DbfTable& table, const std::string& option, const std::string& name) {
    const int i = table.FieldIndex(name);
    if (i < 0) throw std::invalid_argument(option + ": " + table.Path() + " has no field \"" + name + "\"");
    return table.Fields()[static_cast<std::size_t>(i)].name;
}

void ReadLabels(const CommandLine& line, const DbfTable& table, ConversionChoices& c) {
    std::vector<std::string> labelFields;
    for (const FieldInfo& f : table.Fields())
        if (f.kind != FieldKind::Other) labelFields.push_back(f.name);
    if (line.Has("--label")) {
        const std::string& name = line.values.at("--label");
        if (!name.empty()) c.labelField = TableField(table, "--label", name);
    } else if (!labelFields.empty()) {
        const int found = FindItemContaining("NAME", labelFields);
        c.labelField = labelFields[static_cast<std::size_t>(std::max(found, 0))];
    }
    if (c.labelField) {
        const auto at = std::find(labelFields.begin(), labelFields.end(), *c.labelField);
        if (at == labelFields.end())
            throw std::invalid_argument("--label: field \"" + *c.labelField + "\" is neither text nor a number");
        c.labelPosition = static_cast<int>(at - labelFields.begin());
    }
}

void ReadBalloon(const CommandLine& line, const DbfTable& table, ConversionChoices& c) {
    if (line.Has("--balloon")) {
        std::vector<std::string> chosen;
        for (const std::string& name : SplitList(line.values.at("--balloon")))
            chosen.push_back(TableField(table, "--balloon", name));
        // The balloon lists its fields in the table's order.
        for (const FieldInfo& f : table.Fields())
            if (std::find(chosen.begin(), chosen.end(), f.name) != chosen.end()) c.balloon.fields.push_back(f.name);
    }
    if (line.Has("--balloon-title")) c.balloon.title = line.values.at("--balloon-title");
    if (line.Has("--balloon-width"))
        c.balloon.widthText = std::to_string(ParseInteger("--balloon-width", line.values.at("--balloon-width"), 1, 10000));
    c.balloon.showBorders = line.Has("--balloon-borders");
    c.attributeData = line.Has("--data");
    if (line.Has("--balloon-color")) c.balloon.balloonColor = ParseColour("--balloon-color", line.values.at("--balloon-color"));
}

void ReadDisplay(const CommandLine& line, ConversionChoices& c) {
    c.rollOver = line.Has("--rollover");
    if (line.Has("--rollover-color")) c.rollOverColor = ParseColour("--rollover-color", line.values.at("--rollover-color"));
    c.rollOverChangeColor = !line.Has("--rollover-keep-colors");
    if (line.Has("--labels")) {
        const std::string& v = line.values.at("--labels");
        if (v == "always") c.labels = LabelDisplay::Always;
        else if (v == "rollover") c.labels = LabelDisplay::RollOver;
        else if (v == "never") c.labels = LabelDisplay::Never;
        else throw std::invalid_argument("--labels takes always, rollover or never, not \"" + v + "\"");
        if (c.labels == LabelDisplay::RollOver && !c.rollOver)
            throw std::invalid_argument("--labels rollover needs --rollover");
    }
    c.centroid = line.Has("--centroid");
    c.multiCentroid = line.Has("--multi-centroid");
    if (c.multiCentroid && !c.centroid) throw std::invalid_argument("--multi-centroid needs --centroid");
    c.reverseRings = line.Has("--reverse-rings");
    c.tessellate = line.Has("--tessellate");
    c.createFolders = line.Has("--folders");
    if (line.Has("--altitude")) {
        const std::string& v = line.values.at("--altitude");
        if (v == "clamped") c.altitude = AltitudeChoice::ClampedToGround;
        else if (v == "relative") c.altitude = AltitudeChoice::RelativeToGround;
        else if (v == "absolute") c.altitude = AltitudeChoice::Absolute;
        else throw std::invalid_argument("--altitude takes clamped, relative or absolute, not \"" + v + "\"");
    }
}

// Tiles live inside an archive: asked for with a .kml, they are a usage error.
void ReadRegions(const CommandLine& line, const std::string& output, ConversionChoices& c) {
    c.regions = line.Has("--regions");
    if (c.regions && !IsKmzPath(output)) throw std::invalid_argument("--regions needs a .kmz output, not \"" + output + "\"");
    if (!line.Has("--region-size")) return;
    if (!c.regions) throw std::invalid_argument("--region-size needs --regions");
    c.regionSize = ParseInteger("--region-size", line.values.at("--region-size"), 1, 100000000);
}

void ReadExtrusion(const CommandLine& line, const DbfTable& table, ConversionChoices& c) {
    if (!line.Has("--extrude")) return;
    const std::string& v = line.values.at("--extrude");
    c.extrude = true;
    if (v == "elevation") {
        c.height = HeightChoice::Elevation;
    } else if (v.rfind("constant:", 0) == 0) {
        c.height = HeightChoice::Constant;
        c.extrudeText = v.substr(9);
    } else if (v.rfind("field:", 0) == 0) {
        c.height = HeightChoice::Field;
        std::string rest = v.substr(6);
        const std::size_t colon = rest.find(':');
        if (colon != std::string::npos) {
            c.heightFactorText = rest.substr(colon + 1);
            rest.erase(colon);
        }
        if (!rest.empty()) {
            c.heightField = TableField(table, "--extrude", rest);
            if (!IsNumericField(table.Path(), c.heightField))
                throw std::invalid_argument("--extrude: field \"" + c.heightField + "\" is not numeric");
        }
    } else {
        throw std::invalid_argument("--extrude takes constant:METRES, field:FIELD[:FACTOR] or elevation, not \"" + v + "\"");
    }
}

// A field the placemarks' times can come from: one that holds text, numbers or dates.
std::string TimeField(const DbfTable& table, const std::string& option, const std::string& name) {
    const std::string field = TableField(table, option, name);
    if (table.Fields()[static_cast<std::size_t>(table.FieldIndex(field))].kind == FieldKind::Other)
        throw std::invalid_argument(option + ": field \"" + field + "\" holds neither dates, text nor numbers");
    return field;
}

void ReadTime(const CommandLine& line, const DbfTable& table, ConversionChoices& c) {
    if (line.Has("--time") && line.Has("--time-span"))
        throw std::invalid_argument("--time and --time-span exclude each other");
    if (line.Has("--time")) c.timeField = TimeField(table, "--time", line.values.at("--time"));
    if (!line.Has("--time-span")) return;
    const std::string& v = line.values.at("--time-span");
    const std::size_t comma = v.find(',');
    c.timeSpan = true;
    c.timeField = TimeField(table, "--time-span", v.substr(0, comma));
    if (comma != std::string::npos) c.timeEndField = TimeField(table, "--time-span", v.substr(comma + 1));
}

std::uint8_t Percent(const CommandLine& line, const std::string& option, std::uint8_t fallback) {
    return line.Has(option) ? static_cast<std::uint8_t>(ParseInteger(option, line.values.at(option), 0, 100)) : fallback;
}

void ReadDefaultSymbol(const CommandLine& line, TItemSym& s) {
    auto has = [&](const char* o) { return line.Has(o); };
    auto value = [&](const char* o) { return line.values.at(o); };
    if (has("--icon")) s.IconIndex = ParseInteger("--icon", value("--icon"), 1, 163);
    if (has("--rollover-icon")) s.RollOverIcon = ParseInteger("--rollover-icon", value("--rollover-icon"), 1, 163);
    if (has("--icon-color")) s.IconColor = ParseColour("--icon-color", value("--icon-color"));
    s.IconOpacity = Percent(line, "--icon-opacity", s.IconOpacity);
    if (has("--icon-scale"))
        s.IconScale = static_cast<std::uint8_t>(std::lround(ParseReal("--icon-scale", value("--icon-scale"), 0.1, 25.5) * 10));
    if (has("--line-color")) s.LineColor = ParseColour("--line-color", value("--line-color"));
    s.LineOpacity = Percent(line, "--line-opacity", s.LineOpacity);
    if (has("--line-width")) s.LineWidth = static_cast<std::uint8_t>(ParseInteger("--line-width", value("--line-width"), 0, 10));
    if (has("--fill-color")) s.FillColor = ParseColour("--fill-color", value("--fill-color"));
    s.FillOpacity = Percent(line, "--fill-opacity", s.FillOpacity);
    if (has("--fill-mode")) {
        const std::string v = value("--fill-mode");
        if (v == "filled") s.FillMode = 1;
        else if (v == "outlined") s.FillMode = 2;
        else if (v == "both") s.FillMode = 3;
        else throw std::invalid_argument("--fill-mode takes filled, outlined or both, not \"" + v + "\"");
    }
}

bool AnyOf(const CommandLine& line, std::initializer_list<const char*> options) {
    return std::any_of(options.begin(), options.end(), [&](const char* o) { return line.Has(o); });
}

ClassMethod ParseMethod(const std::string& v) {
    if (v == "equal") return ClassMethod::EqualInterval;
    if (v == "quantile") return ClassMethod::Quantile;
    if (v == "jenks") return ClassMethod::NaturalBreaks;
    throw std::invalid_argument("--method takes equal, quantile or jenks, not \"" + v + "\"");
}

// The classes of --unique or --graduated, built into the engine's symbol list.
void BuildClasses(const CommandLine& line, const DbfTable& table, std::uint8_t shapeClass,
                  TConversionEngine& engine, ConversionChoices& c) {
    const bool unique = line.Has("--unique"), graduated = line.Has("--graduated");
    if (unique && graduated) throw std::invalid_argument("--unique and --graduated exclude each other");
    if (!unique && line.Has("--unique-ramp")) throw std::invalid_argument("--unique-ramp needs --unique");
    if (!graduated && AnyOf(line, {"--classes", "--method", "--normalize", "--digits", "--grad-ramp", "--ramp-from", "--ramp-to"}))
        throw std::invalid_argument("--classes, --method, --normalize, --digits and the ramps need --graduated");
    TSymbolList& symbols = engine.Symbols;
    if (unique) {
        c.kind = kUniqueValues;
        c.classField = TableField(table, "--unique", line.values.at("--unique"));
        if (table.Fields()[static_cast<std::size_t>(table.FieldIndex(c.classField))].kind == FieldKind::Other)
            throw std::invalid_argument("--unique: field \"" + c.classField + "\" is neither text nor a number");
        if (line.Has("--unique-ramp"))
            symbols.UniqueRamp = static_cast<std::uint8_t>(ParseInteger("--unique-ramp", line.values.at("--unique-ramp"), 1, 9));
        BuildUniqueClasses(table.Path(), c.classField, symbols, shapeClass);
        return;
    }
    if (!graduated) return;
    c.kind = kGraduated;
    auto numericField = [&](const char* option) {
        const std::string name = TableField(table, option, line.values.at(option));
        if (!IsNumericField(table.Path(), name))
            throw std::invalid_argument(std::string(option) + ": field \"" + name + "\" is not numeric");
        return name;
    };
    GraduatedRequest request;
    request.field = c.classField = numericField("--graduated");
    if (line.Has("--normalize")) request.normField = c.normField = numericField("--normalize");
    if (line.Has("--classes")) request.classCount = ParseInteger("--classes", line.values.at("--classes"), 2, 200);
    if (line.Has("--method")) request.method = ParseMethod(line.values.at("--method"));
    if (line.Has("--digits"))
        engine.Kml.Digits = static_cast<std::uint8_t>(ParseInteger("--digits", line.values.at("--digits"), 0, 10));
    if (line.Has("--grad-ramp"))
        symbols.GradRamp = static_cast<std::uint8_t>(ParseInteger("--grad-ramp", line.values.at("--grad-ramp"), 0, 28));
    if (line.Has("--ramp-from") != line.Has("--ramp-to"))
        throw std::invalid_argument("--ramp-from and --ramp-to go together");
    if (line.Has("--ramp-from")) {
        if (line.Has("--grad-ramp")) throw std::invalid_argument("--grad-ramp and --ramp-from exclude each other");
        symbols.RampMode = 2;
        symbols.FromColor = ParseColour("--ramp-from", line.values.at("--ramp-from"));
        symbols.ToColor = ParseColour("--ramp-to", line.values.at("--ramp-to"));
    }
    BuildGraduatedClasses(table.Path(), request, engine.Kml, symbols, shapeClass);
}

}  // namespace

int RunConversion(const CommandLine& line) {
    if (line.inputs.empty()) throw std::invalid_argument("no input shapefile");
    const std::string input = line.inputs.front();
    const std::string output =
        line.Has("-o") ? line.values.at("-o") : fs::path(input).replace_extension(".kml").string();
    ConvertShapefile(line, input, output, "", true);
    return 0;
}

void ConvertShapefile(const CommandLine& line, const std::string& input, const std::string& output,
                      const std::string& prefix, bool alone) {
    TFileSHP reader(input);
    if (!reader.Open() || !reader.ReadHeader()) throw ShapefileError(reader.Error());
    const std::uint8_t shapeClass = ShapeClass(reader.ShapeType);
    reader.Close();
    const DbfTable table(AttributeTablePathOf(input));

    ConversionChoices c;
    ReadRegions(line, output, c);
    std::vector<std::string> notes;
    ApplyCoordinateSystem(ChooseCoordinateSystem(line, input, notes), c);
    // Reading the .prj is done: a conversion through PROJ opens its database again.
    // Not while other conversions may be using it.
    if (alone) ReleaseProjCaches();
    ReadLabels(line, table, c);
    ReadBalloon(line, table, c);
    ReadDisplay(line, c);
    ReadExtrusion(line, table, c);
    ReadTime(line, table, c);
    if (line.Has("--title")) c.title = line.values.at("--title");
    if (line.Has("--description")) c.description = line.values.at("--description");
    if (c.centroid && shapeClass != kPolygonClass) throw std::invalid_argument("--centroid needs a polygon shapefile");
    if (const auto problem = ValidateSave(c)) throw std::invalid_argument(*problem);

    ConsoleMessages messages(line.Has("-q"), prefix);
    for (const std::string& note : notes) messages.Information(note);
    const WorkingFolder work;
    if (!work.IsValid()) throw std::runtime_error(work.Error());
    TConversionEngine engine(work.Path());
    engine.InputLoaded(shapeClass, table.Path());
    ReadDefaultSymbol(line, engine.Symbols.DefaultSymbol());
    BuildClasses(line, table, shapeClass, engine, c);
    engine.CollectSettings(c, input);
    engine.SetUniqueNumeric();
    engine.PrepareAttributes(input, messages);
    if (!engine.ConvertToKml(input, output, messages)) throw ShapefileError(input + ": cannot be read as a shapefile");
    messages.Progress(std::to_string(engine.WrittenFeatures()) + " features written to " + output);
}

}  // namespace tessaly::cli
