#include "app/command_line.h"

#include "app/preview_drawing.h"
#include "engine/program_version.h"
#include "input/dbf_table.h"
#include "input/shapefile_reader.h"

#include <QImage>
#include <QSaveFile>
#include <QString>

#include <charconv>
#include <iostream>
#include <vector>

namespace tessaly {

namespace {

constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxPictureSide = 5000;  // bounds the picture's memory

struct PreviewRequest {
    std::string output;
    std::string input;
    int width = 640;
    int height = 480;
};

// "WIDTHxHEIGHT", each side 1 .. kMaxPictureSide.
bool ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), text.data() + x, width);
    const auto h = std::from_chars(text.data() + x + 1, end, height);
    return w.ec == std::errc() && w.ptr == text.data() + x && h.ec == std::errc() && h.ptr == end && width >= 1 &&
           height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

std::optional<PreviewRequest> ParsePreviewRequest(const std::vector<std::string>& args, std::string& problem) {
    PreviewRequest r;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            if (i + 1 == args.size() || !ParseSize(args[i + 1], r.width, r.height)) {
                problem = "--size takes WIDTHxHEIGHT, each side 1 to " + std::to_string(kMaxPictureSide) + " pixels";
                return std::nullopt;
            }
            ++i;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2) {
        problem = "--preview-png takes OUT.png and INPUT.shp";
        return std::nullopt;
    }
    r.output = files[0];
    r.input = files[1];
    return r;
}

}  // namespace

std::string DesktopUsageText() {
    return "Usage:\n"
           "  tessaly [INPUT.shp]\n"
           "      Starts the wizard, with INPUT.shp loaded when it names an existing file.\n"
           "  tessaly --preview-png OUT.png [--size WIDTHxHEIGHT] INPUT.shp\n"
           "      Draws the preview map of INPUT.shp in the default single symbol into the\n"
           "      PNG picture OUT.png, WIDTHxHEIGHT pixels (default 640x480), without a window\n"
           "      or a display; reads and writes no settings or working files.\n"
           "  tessaly --version\n"
           "      Prints the program's version and build tag.\n"
           "  tessaly --help\n"
           "      Shows this text.\n";
}

std::string WritePreviewPicture(const std::string& shapePath, const std::string& pngPath, int width, int height) {
    TFileSHP reader(shapePath);
    if (!reader.Open() || !reader.ReadHeader()) {
        const std::string why = reader.Error();
        return why.find(shapePath) == std::string::npos ? shapePath + ": " + why : why;
    }
    PreviewInput input{shapePath, AttributeTablePathOf(shapePath), ShapeClass(reader.ShapeType),
                       {reader.Xmin, reader.Ymin, reader.Xmax, reader.Ymax}, true};
    reader.Close();

    TSymbolList symbols;
    symbols.Kind = kSingleSymbol;
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull()) return pngPath + ": no memory for a picture of " + std::to_string(width) + "x" + std::to_string(height);
    const PreviewResult drawn = DrawPreview(picture, input, symbols);
    if (!drawn.Problem.empty()) return drawn.Problem;

    // Written whole or not at all.
    QSaveFile file(QString::fromStdString(pngPath));
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
        return pngPath + ": cannot be written (" + file.errorString().toStdString() + ")";
    return {};
}

std::optional<int> RunCommandLine(int argc, const char* const* argv) {
    if (argc < 2) return std::nullopt;
    const std::string first = argv[1];
    if (first == "--help") {
        std::cout << DesktopUsageText();
        return 0;
    }
    if (first == "--version") {
        std::cout << VersionLine("tessaly");
        return 0;
    }
    if (first != "--preview-png") return std::nullopt;

    std::string problem;
    const auto request = ParsePreviewRequest(std::vector<std::string>(argv + 2, argv + argc), problem);
    if (!request) {
        std::cerr << "tessaly: " << problem << "\nRun tessaly --help for the forms of the command line.\n";
        return kExitUsage;
    }
    problem = WritePreviewPicture(request->input, request->output, request->width, request->height);
    if (!problem.empty()) {
        std::cerr << "tessaly: " << problem << "\n";
        return kExitBadInput;
    }
    return 0;
}

}  // namespace tessaly
