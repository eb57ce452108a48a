#pragma once
// The version tag shown in the About box and sent to the feedback pages.
// The build also writes it into those pages, reading it from this line.

namespace tessaly {

inline constexpr const char* kVersionText = "2-2/1/11";

}  // namespace tessaly
