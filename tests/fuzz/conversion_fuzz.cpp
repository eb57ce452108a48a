// A whole conversion through the converter's command line. The input holds a
// choice of options (first byte), the length of the .shp part (next four bytes,
// little-endian), the .shp and then the .dbf. Refusing the input with a message
// is a good answer; a sanitizer report, another exception, a hang or a document
// out of all proportion to the input is a finding.

#include "cli/convert_command.h"
#include "cli/options.h"
#include "input/dbf_table.h"
#include "tests/fuzz/scratch_files.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

// The output a sound conversion can reach: fixed styles, then per input byte at
// most a balloon row or a class style's worth of text.
constexpr std::uintmax_t kOutputBase = 1u << 20;
constexpr std::uintmax_t kOutputPerInputByte = 2000;

struct TableFields {
    std::string text;
    std::vector<std::string> numbers;
};

TableFields FieldsOf(const std::string& dbfPath) {
    TableFields found;
    const tessaly::DbfTable table(dbfPath);
    for (const tessaly::FieldInfo& f : table.Fields()) {
        if (f.kind == tessaly::FieldKind::Text && found.text.empty()) found.text = f.name;
        if (f.kind == tessaly::FieldKind::Numeric) found.numbers.push_back(f.name);
    }
    return found;
}

std::vector<std::string> OptionSet(std::uint8_t choice, const TableFields& fields) {
    const std::string number = fields.numbers.empty() ? "" : fields.numbers.front();
    const std::string other = fields.numbers.size() > 1 ? fields.numbers[1] : number;
    switch (choice % 6) {
        case 1: return {"--balloon-borders", "--rollover", "--labels", "rollover", "--centroid", "--multi-centroid"};
        case 2:
            if (fields.text.empty()) return {};
            return {"--unique", fields.text, "--folders", "--balloon", fields.text, "--label", fields.text};
        case 3:
            if (number.empty()) return {};
            return {"--graduated", number, "--classes", "5", "--normalize", other, "--folders", "--digits", "2"};
        case 4:
            if (number.empty()) return {"--utm", "14N", "--datum", "133"};
            return {"--utm", "14N", "--datum", "133", "--extrude", "field:" + number + ":2.5",
                    "--altitude", "relative", "--tessellate", "--reverse-rings"};
        case 5: return {"--extrude", "elevation", "--altitude", "absolute", "--label", ""};
        default: return {};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    if (size < 5) return 0;
    std::uint32_t shpSize = 0;
    std::memcpy(&shpSize, data + 1, 4);
    const std::uint8_t* body = data + 5;
    const std::size_t bodySize = size - 5;
    if (shpSize > bodySize) shpSize = static_cast<std::uint32_t>(bodySize);
    const std::string shp = fuzz::WriteScratchFile("input.shp", body, shpSize);
    const std::string dbf = fuzz::WriteScratchFile("input.dbf", body + shpSize, bodySize - shpSize);
    const std::string kml = fuzz::ScratchFolder() + "/output.kml";
    std::filesystem::remove(kml);

    try {
        std::vector<std::string> words = {"tessaly-convert", shp, "-o", kml, "-q"};
        for (std::string& w : OptionSet(data[0], FieldsOf(dbf))) words.push_back(std::move(w));
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        cli::RunConversion(cli::ParseCommandLine(static_cast<int>(argv.size()), argv.data()));
    } catch (const std::runtime_error&) {   // the input refused, naming the file
    } catch (const std::invalid_argument&) {  // a choice the input cannot take (no such field ...)
    }
    std::error_code ec;
    const std::uintmax_t written = std::filesystem::file_size(kml, ec);
    if (!ec && written > kOutputBase + kOutputPerInputByte * size) {
        std::fprintf(stderr, "a document of %ju bytes from %zu bytes of input\n", written, size);
        std::abort();
    }
    return 0;
}
