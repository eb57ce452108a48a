#pragma once
// The program's versions: the one in the window caption and the fixed build tag
// that the About box and the web addresses carry (the build also writes it into
// the feedback pages, reading it from this line).

#include <string>

namespace tessaly {

inline constexpr const char* kCaptionVersion = "2.1b";
inline constexpr const char* VersionText = "2-2/1/11";

// "tessaly-convert 2.1b (build 2-2/1/11)": what --version prints.
inline std::string VersionLine(const std::string& programName) {
    return programName + " " + kCaptionVersion + " (build " + VersionText + ")\n";
}

}  // namespace tessaly
