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
    // How far the writing of the features is: done of total rows visited. Called
    // whenever the whole percentage changes, so a hundred times at most.
    virtual void WritingProgress(long long /*done*/, long long /*total*/) {}
    // Something the user should know that does not stop the work.
    virtual void Information(const std::string& text) = 0;
    // A user error: the work does not start.
    virtual void Error(const std::string& text) = 0;
};

}  // namespace tessaly
