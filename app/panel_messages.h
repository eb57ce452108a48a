#pragma once
// The messages of a Create run: its steps, and the percentage while the features
// are written, in a label repainted at once (the run holds the window's thread).
// Notes are kept for the summary shown when the run is done; errors go on to the
// window's message boxes.

#include "engine/user_messages.h"

#include <QLabel>

#include <vector>

namespace tessaly {

class PanelMessages : public UserMessages {
public:
    PanelMessages(UserMessages& outer, QLabel* label) : outer_(outer), label_(label) {}

    void Progress(const std::string& text) override;
    void WritingProgress(long long done, long long total) override;
    void Information(const std::string& text) override { notes_.push_back(text); }
    void Error(const std::string& text) override { outer_.Error(text); }

    const std::vector<std::string>& Notes() const { return notes_; }

private:
    void Show(const std::string& text);

    UserMessages& outer_;
    QLabel* label_;
    std::string step_;
    std::vector<std::string> notes_;
};

}  // namespace tessaly
