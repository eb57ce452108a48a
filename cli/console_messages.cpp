#include "cli/console_messages.h"

#include "engine/run_progress.h"

#include <iostream>
#include <mutex>
#include <unistd.h>

namespace tessaly::cli {

namespace {

std::mutex console;

}  // namespace

ConsoleMessages::ConsoleMessages(bool quiet, std::string prefix)
    : quiet_(quiet),
      prefix_(std::move(prefix)),
      terminal_(prefix_.empty() && isatty(STDERR_FILENO) != 0),
      start_(std::chrono::steady_clock::now()) {}

ConsoleMessages::~ConsoleMessages() { EndProgressLine(); }

void ConsoleMessages::Progress(const std::string& text) {
    if (!quiet_) Line(text);
}

void ConsoleMessages::WritingProgress(long long done, long long total) {
    if (quiet_ || !terminal_ || std::chrono::steady_clock::now() - start_ < kQuietStart) return;
    const std::lock_guard lock(console);
    std::cerr << "\r" << PercentDone(done, total) << "% (" << done << " of " << total << " records)" << std::flush;
    progressLine_ = true;
}

void ConsoleMessages::Information(const std::string& text) {
    Line(prefix_.empty() ? "tessaly-convert: note: " + text : "note: " + text);
}

void ConsoleMessages::Error(const std::string& text) { Line(prefix_.empty() ? "tessaly-convert: " + text : "error: " + text); }

void ConsoleMessages::Line(const std::string& text) {
    EndProgressLine();
    const std::lock_guard lock(console);
    std::cerr << prefix_ << text << "\n";
}

void ConsoleMessages::EndProgressLine() {
    if (!progressLine_) return;
    const std::lock_guard lock(console);
    std::cerr << "\n";
    progressLine_ = false;
}

}  // namespace tessaly::cli
