#include "cli/options.h"

#include <stdexcept>

namespace tessaly::cli {

const std::vector<OptionSpec>& Options() {
    static const std::vector<OptionSpec> options = {
        {"-o", "OUTPUT.kml", "the document to write; a name ending in \".kmz\" writes a KMZ archive; with many inputs, the folder of their documents (made when missing); default: beside the input, with \".kml\""},
        {"--utm", "ZONE", "the input is UTM in metres, in ZONE followed by N or S (14N, 56S); default: what the shapefile's .prj says"},
        {"--datum", "N", "the input's datum, by its number in --list-datums; default 219 (WGS 1984)"},
        {"--geographic", "", "the input is longitude/latitude in degrees (the default without a .prj)"},
        {"--srs", "DEFINITION", "the input's coordinate system: EPSG:2277, WKT, a PROJ string or a .prj file; converted through PROJ where --utm and --datum cannot say it"},
        {"--label", "FIELD", "the field that names the placemarks; '' numbers them; default: the first field whose name holds NAME"},
        {"--title", "TEXT", "the document's name; default: the input's file name"},
        {"--description", "TEXT", "the text of the closing Info folder (may hold HTML)"},
        {"--balloon", "FIELD,...", "show these fields in every placemark's balloon"},
        {"--balloon-title", "TEXT", "a line above the balloon's table (may hold HTML)"},
        {"--balloon-width", "PIXELS", "width of the balloon's table; default 250"},
        {"--balloon-borders", "", "draw the borders of the balloon's table"},
        {"--balloon-color", "#RRGGBB", "background of the balloon; default #FFFFFF"},
        {"--data", "", "write every field of each record as KML data (ExtendedData with a Schema), which GIS programs read back with its type"},
        {"--time", "FIELD", "each placemark's moment on Google Earth's time slider: a date field, or dates, date-times or years in a text or number field"},
        {"--time-span", "BEGIN[,END]", "each placemark's time as a span from the BEGIN field's value to the END field's; without END, open-ended"},
        {"--rollover", "", "highlight a feature under the mouse"},
        {"--rollover-color", "#RRGGBB", "line and fill colour of highlighted polygons; default #FFFFFF"},
        {"--rollover-keep-colors", "", "highlighted polygons keep their own colours"},
        {"--labels", "WHEN", "when labels show: always, rollover or never (default)"},
        {"--centroid", "", "write a centroid point with every polygon, always inside it"},
        {"--multi-centroid", "", "a centroid for every ring, not only the longest"},
        {"--reverse-rings", "", "write polygon rings in reverse order (for shapes that show black)"},
        {"--altitude", "MODE", "clamped (default), relative or absolute; the last two keep the shapes' Z values"},
        {"--tessellate", "", "lines and polygons follow the terrain"},
        {"--extrude", "HEIGHT", "3D: constant:METRES, field:FIELD[:FACTOR] or elevation (the shapes' Z values)"},
        {"--unique", "FIELD", "one class per distinct value of the field"},
        {"--unique-ramp", "N", "colours of the unique values: named ramp 1..9; default 1 (Harvested)"},
        {"--graduated", "FIELD", "graduated classes over a numeric field (see --method)"},
        {"--classes", "N", "number of graduated classes, 2..200; default 7"},
        {"--method", "METHOD", "how the graduated classes are cut: equal (equal intervals, the default), quantile (as many records in each class) or jenks (natural breaks)"},
        {"--normalize", "FIELD", "graduate the field divided by this numeric field"},
        {"--digits", "N", "decimals of the graduated class bounds, 0..10; default 5"},
        {"--grad-ramp", "N", "colours of the graduated classes: ramp list 0..28; default 27"},
        {"--ramp-from", "#RRGGBB", "colour of the lowest class, with --ramp-to: a ramp of your own"},
        {"--ramp-to", "#RRGGBB", "colour of the highest class"},
        {"--folders", "", "one folder per class"},
        {"--regions", "", "a KMZ only: write the layer as tiles that load as you zoom in (Regions and network links), for layers too big for one document"},
        {"--region-size", "N", "records a tile holds at most, with --regions; default 1000"},
        {"--icon", "N", "icon of the points, 1..163 of the Google Earth palette; default 114"},
        {"--rollover-icon", "N", "icon of highlighted points; default 1"},
        {"--icon-color", "#RRGGBB", "tint of the icon; default #FFFFFF"},
        {"--icon-opacity", "PERCENT", "default 100"},
        {"--icon-scale", "SCALE", "size of the icon, 0.1..25.5; default 1.0"},
        {"--line-color", "#RRGGBB", "colour of lines and outlines; default #0000FF"},
        {"--line-opacity", "PERCENT", "default 100"},
        {"--line-width", "PIXELS", "0..10; default 1"},
        {"--fill-color", "#RRGGBB", "fill of polygons; default #95CAFF"},
        {"--fill-opacity", "PERCENT", "default 100"},
        {"--fill-mode", "MODE", "filled, outlined or both (default)"},
        {"--kmz", "", "many inputs: write NAME.kmz archives rather than NAME.kml documents"},
        {"--jobs", "N", "many inputs: convert N at a time; default: one per processor core"},
        {"-q", "", "print nothing but errors and notes (no steps, no progress line)"},
        {"--info", "FILE.shp", "print the shape type, record count, extent, coordinate system and fields of a shapefile"},
        {"--list-datums", "", "print the catalogue of datums, one a line: number, tab, name and region"},
        {"--version", "", "print the program's version and build tag"},
        {"--help", "", "print this text"},
    };
    return options;
}

namespace {

const OptionSpec* FindOption(std::string_view word) {
    for (const OptionSpec& o : Options())
        if (o.name == word) return &o;
    return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() < 2 || word[0] != '-') {
            line.inputs.push_back(word);
            continue;
        }
        const OptionSpec* option = FindOption(word);
        if (option == nullptr) throw std::invalid_argument("unknown option " + word);
        if (line.Has(word)) throw std::invalid_argument(word + " is given twice");
        std::string value;
        if (!option->argument.empty()) {
            // An option's name where its value belongs means the value was left out.
            if (i + 1 >= argc || FindOption(argv[i + 1]) != nullptr)
                throw std::invalid_argument(word + " needs " + option->argument);
            value = argv[++i];
        }
        line.values[word] = value;
    }
    return line;
}

std::string UsageText() {
    std::string text =
        "Usage: tessaly-convert INPUT.shp [-o OUTPUT.kml|OUTPUT.kmz] [options]\n"
        "       tessaly-convert INPUT.shp|FOLDER... -o FOLDER/ [--kmz] [--jobs N] [options]\n"
        "       tessaly-convert --info FILE.shp\n"
        "       tessaly-convert --list-datums\n\n"
        "Converts an ESRI shapefile and its .dbf table into a KML document for Google Earth.\n"
        "The input's coordinate system comes from its .prj unless --utm, --datum, --geographic or --srs is given.\n\n"
        "Options:\n";
    for (const OptionSpec& o : Options()) {
        std::string left = "  " + o.name + (o.argument.empty() ? "" : " " + o.argument);
        if (left.size() < 26) left.resize(26, ' ');
        else left += "\n" + std::string(26, ' ');
        text += left + o.help + "\n";
    }
    return text;
}

}  // namespace tessaly::cli
