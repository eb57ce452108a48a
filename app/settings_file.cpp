#include "app/settings_file.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace tessaly {

namespace {

std::string Pair(const WindowPoint& p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

// Two whole numbers separated by blanks; the rest of the line is ignored.
std::optional<WindowPoint> ReadPair(const std::string& line) {
    WindowPoint p;
    const char* s = line.data();
    const char* end = s + line.size();
    for (int* target : {&p.x, &p.y}) {
        while (s < end && *s == ' ') ++s;
        const auto r = std::from_chars(s, end, *target);
        if (r.ec != std::errc()) return std::nullopt;
        s = r.ptr;
    }
    return p;
}

}  // namespace

std::string FormatSettings(const SettingsFile& s) {
    return s.InstallId + "\r\n" + Pair(s.MainPosition) + "\r\n" + Pair(s.PreviewPosition) + "\r\n" +
           Pair(s.PreviewSize) + "\r\n";
}

std::optional<SettingsFile> ParseSettings(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (lines.size() < 4) return std::nullopt;
    const auto main = ReadPair(lines[1]), position = ReadPair(lines[2]), size = ReadPair(lines[3]);
    if (!main || !position || !size) return std::nullopt;
    return SettingsFile{lines[0], *main, *position, *size};
}

std::string NewInstallId(std::mt19937& random) {
    static constexpr char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<int> pick(0, 35);
    std::string id;
    for (int i = 0; i < 12; ++i) {
        if (i == 4 || i == 8) id += '-';
        id += kCharacters[pick(random)];
    }
    return id;
}

WindowPoint FirstUsePlacement(int screenWidth, int screenHeight) {
    WindowPoint p{(screenWidth - 810) / 2, (screenHeight - 415) / 2};
    if (p.x < 1) p.x = 1;
    if (p.y < 1) p.y = 0;
    return p;
}

}  // namespace tessaly
