#pragma once
// What the engine says, printed on standard error. Conversions running side by
// side share the console: each line is written whole, and starts with the name
// of the input it is about.

#include "engine/user_messages.h"

#include <chrono>
#include <string>

namespace tessaly::cli {

class ConsoleMessages : public UserMessages {
public:
    // Without a prefix, a run on a terminal that lasts longer than a second also
    // shows how far it is on a line rewritten in place.
    explicit ConsoleMessages(bool quiet, std::string prefix = {});
    ~ConsoleMessages() override;

    void Progress(const std::string& text) override;
    void WritingProgress(long long done, long long total) override;
    void Information(const std::string& text) override;
    void Error(const std::string& text) override;

private:
    static constexpr std::chrono::seconds kQuietStart{1};
    void Line(const std::string& text);
    void EndProgressLine();

    bool quiet_;
    std::string prefix_;
    bool terminal_;
    std::chrono::steady_clock::time_point start_;
    bool progressLine_ = false;
};

}  // namespace tessaly::cli
