#include "engine/run_summary.h"

#include "input/number_text.h"

namespace tessaly {

namespace {

std::string OneDecimal(double value) { return FormatNumber(0, 1, value); }

}  // namespace

std::string SizeText(std::uintmax_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    double size = static_cast<double>(bytes) / 1024;
    for (const char* unit : {" KB", " MB"}) {
        // 1023.96 KB would show as "1024.0 KB": such sizes take the next unit.
        if (size < 1023.95) return OneDecimal(size) + unit;
        size /= 1024;
    }
    return OneDecimal(size) + " GB";
}

std::string RunSummary(long long placemarks, const std::string& path, std::uintmax_t bytes, double seconds) {
    return "Wrote " + std::to_string(placemarks) + (placemarks == 1 ? " placemark" : " placemarks") + " to " + path +
           " (" + SizeText(bytes) + ") in " + OneDecimal(seconds) + " s";
}

}  // namespace tessaly
