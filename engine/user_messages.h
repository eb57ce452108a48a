#pragma once
// The one way the engine speaks to the user: windows show these in the window,
// the command line prints them, tests record them.

#include <string>

namespace tessaly {

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A step of a run: "Preparing Information...", "Creating KML file...".
    virtual void Progress(const std::string& text) = 0;
    // Features written so far, while a run writes them.
    virtual void FeatureCount(long long /*written*/) {}
    // Something the user should know that does not stop the work.
    virtual void Information(const std::string& text) = 0;
    // A user error: the work does not start.
    virtual void Error(const std::string& text) = 0;
};

}  // namespace tessaly
