#include "cli/options.h"

#include <stdexcept>

namespace tessaly::cli {

const std::vector<OptionSpec>& Options() {
    static const std::vector<OptionSpec> options = {
        {"--info", "FILE.shp", "print the shape type, record count, extent and fields of a shapefile"},
        {"--list-datums", "", "print the catalogue of datums, one a line: number, tab, name and region"},
        {"--help", "", "print this text"},
    };
    return options;
}

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.size() < 2 || word[0] != '-') {
            line.inputs.push_back(word);
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& o : Options())
            if (o.name == word) spec = &o;
        if (spec == nullptr) throw std::invalid_argument("unknown option " + word);
        if (line.Has(word)) throw std::invalid_argument(word + " is given twice");
        std::string value;
        if (!spec->argument.empty()) {
            if (i + 1 >= argc) throw std::invalid_argument(word + " needs " + spec->argument);
            value = argv[++i];
        }
        line.values[word] = value;
    }
    return line;
}

std::string UsageText() {
    std::string text =
        "Usage: tessaly-convert --info FILE.shp\n"
        "       tessaly-convert --list-datums\n\nOptions:\n";
    for (const OptionSpec& o : Options()) {
        std::string left = "  " + o.name + (o.argument.empty() ? "" : " " + o.argument);
        if (left.size() < 24) left.resize(24, ' ');
        else left += "\n" + std::string(24, ' ');
        text += left + o.help + "\n";
    }
    return text;
}

}  // namespace tessaly::cli
